#pragma once
// The header collection of a mail message.
#include "smtp/InternetHeaders.h"

class EmailHeaders : public InternetHeaders {};
