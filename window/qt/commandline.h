#pragma once

#include <optional>

class QCoreApplication;

namespace veltrin {

// Gives Qt the program's name and version, as --version prints them and the window system
// sees them. Needs no application object.
void describeApplication();

// Gives Qt's own texts (a message's OK button, the command line's headings) in the language
// spoken, from Qt's translations where they are installed (Debian's qt6-translations-l10n).
void translateQt(QCoreApplication& app);

// Reads the command line before anything needs a window system, so that --help, --version
// and mistakes are answered even where no display is available. Qt's own options (-platform,
// -style, ...) are accepted and left for QApplication. Returns the exit status when the
// program is to end at once, or nothing when it is to start as usual.
std::optional<int> handleCommandLine(int argc, char** argv);

} // namespace veltrin
