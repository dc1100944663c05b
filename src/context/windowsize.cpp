#include "windowsize.h"

#include "ownsettings.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <cstdio>

namespace {

// Keeps the window's size whenever it closes or is hidden.
class TSizeKeeper : public QObject {
public:
    TSizeKeeper(QWidget* window, TOwnSettings& own) : QObject(window), m_own(own) {
        setObjectName(QStringLiteral("sizekeeper"));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            auto* window = static_cast<QWidget*>(watched);
            QSize& kept = m_own.sizes[window->objectName()];
            if (kept != window->size()) {
                kept = window->size();
                if (!m_own.save())
                    std::fprintf(stderr, "velmorand: the size of %s cannot be kept in %s\n",
                                 qPrintable(window->objectName()),
                                 qPrintable(TOwnSettings::FileName));
            }
        }
        return false;
    }

private:
    TOwnSettings& m_own;
};

} // namespace

void ShowAtKeptSize(QWidget* window, TOwnSettings& own) {
    QSize size = own.sizes.value(window->objectName());
    if (!size.isValid())
        size = window->sizeHint();
    if (const QScreen* screen = window->screen())
        size = size.boundedTo(screen->availableSize());
    window->resize(size.expandedTo(window->minimumSizeHint()));
    // Over the middle of the window it belongs to, else of the screen; a
    // window shown before stays where it was. A maximized owner is taken as
    // its screen: one just shown has its place only once the window manager
    // has maximized it, and an editor opened at once went to a corner.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved)) {
        const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        const QRect over =
            owner && owner->isVisible() && !owner->isMaximized()
                ? owner->frameGeometry()
                : (window->screen() ? window->screen()->availableGeometry() : QRect());
        if (over.isValid())
            window->move(over.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    if (!window->findChild<QObject*>(QStringLiteral("sizekeeper"), Qt::FindDirectChildrenOnly))
        window->installEventFilter(new TSizeKeeper(window, own));
    window->show();
}
