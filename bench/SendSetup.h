#pragma once
// What a send through the window starts from: the local SMTP server with the account
// "user"/"secret", and an application folder whose settings point at it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/AppFixture.h"
#include "tests/support/DataFiles.h"
#include "tests/support/LocalSmtpServer.h"

namespace bench {

struct SendSetup {
  testsupport::LocalSmtpServer server{"user", "secret"};
  testsupport::AppFolder folder;

  // Ends the process when the server does not start: there is nothing to measure.
  SendSetup() {
    if (!server.Started()) {
      std::fprintf(stderr, "the SMTP server did not start\n");
      std::exit(1);
    }
    folder.Write("Data/smtp", testsupport::SettingsFile({"127.0.0.1", std::to_string(server.Port()), "user",
                                                        "secret", "info@example.com", "Mailer 1.0"}));
  }
};

}  // namespace bench
