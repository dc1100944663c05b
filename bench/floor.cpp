// The floor for the start-up benchmark: a minimal Qt Widgets window with a
// menu bar, a list and a status bar, reporting its first paint as the
// organiser does.
#include "platform/trace.h"

#include <QApplication>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QStatusBar>
#include <QStringListModel>

namespace {
class Window : public QMainWindow {
protected:
    void paintEvent(QPaintEvent* event) override {
        QMainWindow::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            Trace(QStringLiteral("list painted"));
        }
    }

private:
    bool m_painted = false;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.menuBar()->addMenu(QStringLiteral("Program"))->addAction(QStringLiteral("Koniec"));
    auto* list = new QListView;
    list->setUniformItemSizes(true);
    list->setModel(new QStringListModel({QStringLiteral("one"), QStringLiteral("two")}, list));
    window.setCentralWidget(list);
    window.statusBar()->showMessage(QStringLiteral("Počet záznamov: 2"));
    window.showMaximized();
    return app.exec();
}
