#include "programicon.h"

QIcon ProgramIcon() {
    // Made once: every window and the tray share it.
    static const QIcon icon = [] {
        QIcon made;
        for (int size : {16, 22, 32, 48, 64})
            made.addFile(QStringLiteral(":/icons/velmorand-%1.png").arg(size), QSize(size, size));
        return made;
    }();
    return icon;
}
