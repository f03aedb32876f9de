// A start-up error shown in a message box, for a start from the desktop's menu.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/start_error_box.h"

namespace ovelsk::test {
namespace {

TEST(StartErrorBox, ShowsTheErrorAndTheSettingsFileUntilClosed) {
    const QString text = startErrorText("cannot start the host: Host settings /home/op/st.ini does not exist",
                                        "/home/op/st.ini");
    EXPECT_EQ(text, "Ovelsk cannot start: cannot start the host: Host settings /home/op/st.ini does not exist.\n\n"
                    "The settings are in /home/op/st.ini.");
    QString shown;
    // The box is found while it waits for the user, then closed as the user would.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible() || box->objectName() != "startError") continue;
            shown = box->text();
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Close)->click();
        }
    });
    closer.start(10);
    showStartError(text);
    EXPECT_EQ(shown, text);
}

}  // namespace
}  // namespace ovelsk::test
