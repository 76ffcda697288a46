#pragma once

namespace quenmark {

// "Pages at once" as the operator set it, for the window's runs and for
// `update` without --jobs. It belongs to the operator's desktop, not to the
// site, so it is kept in the user's settings (QSettings: on Linux
// ~/.config/Quenmark/Quenmark Updater.conf, key downloads/jobs) rather than
// beside the main folder's data files.
int downloadJobsSetting();
void setDownloadJobsSetting(int jobs);

} // namespace quenmark
