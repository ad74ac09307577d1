// Starting a send, and the SMTP client's events.
#include "mainwindow/Window1.h"

void Window1::Toolbar11_Action(fw::ToolItem*) {}

void Window1::Socket1_MailSent() {}

void Window1::Socket1_ServerError(int, std::string) {}

void Window1::Socket1_Error() {}
