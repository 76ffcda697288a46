#pragma once

namespace quenmark {

// How many member pages the window's runs fetch at once. It belongs to the
// operator's desktop, not to the site, so it is kept in the user's settings
// (QSettings) rather than beside the main folder's data files.
int downloadJobsSetting();
void setDownloadJobsSetting(int jobs);

} // namespace quenmark
