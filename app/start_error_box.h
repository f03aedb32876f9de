#pragma once
// Started from the desktop's menu, Ovelsk has no terminal to say why it could
// not start: with a screen to show it on, a start-up error is shown in a
// message box as well as written to standard error.

#include <QString>
#include <filesystem>
#include <string>

namespace ovelsk {

// The box's text: the error, then where the settings are.
QString startErrorText(const std::string& error, const std::filesystem::path& settingsFile);

// Shows the text in a message box and returns once the user has closed it, or
// the application was told to quit.
void showStartError(const QString& text);

}  // namespace ovelsk
