#include "platform/ftp_client.h"

#include <ostream>

int runFtpScript(const std::filesystem::path&, std::ostream& transcript) {
    transcript << "The FTP client is not ready yet.\n";
    return 1;
}
