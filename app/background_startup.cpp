#include "app/background_startup.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <fontconfig/fontconfig.h>

namespace ovelsk {

std::jthread readFontConfiguration() {
    return std::jthread([] { FcInit(); });
}

std::jthread loadWindowIcon(QWidget* window) {
    return std::jthread([window] {
        QList<QImage> pictures;
        for (const int size : {48, 32, 16}) pictures.append(QImage(QStringLiteral(":/ovelsk/ovelsk-%1.png").arg(size)));
        // Pixmaps belong to the thread that draws: they are made there.
        QMetaObject::invokeMethod(
            window,
            [window, pictures] {
                QIcon icon;
                for (const auto& picture : pictures) icon.addPixmap(QPixmap::fromImage(picture));
                window->setWindowIcon(icon);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace ovelsk
