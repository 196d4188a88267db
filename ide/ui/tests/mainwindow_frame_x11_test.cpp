// The restored main window under a real window manager: openbox on a
// virtual X server of this test's own frames the window only after it is
// shown, and the frame's outer bounds, as the X server has them, must then
// lie on the work area within a second, start after start.
#include <xcb/xcb.h>

#include <QApplication>
#include <QScreen>
#include <cstdlib>
#include <memory>

#include "settings.h"
#include "uitestsupport.h"
#include "xsession.h"

class MainWindowFrameTest : public QObject {
    Q_OBJECT

  public:
    explicit MainWindowFrameTest(QString skipReason) : skipReason_(std::move(skipReason)) {}

  private slots:
    void init();
    void restoredFrameSettlesOnTheWorkArea_data();
    void restoredFrameSettlesOnTheWorkArea();

  private:
    QString skipReason_;
};

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 900;

// The outer bounds of the window's frame as the X server has them: the
// window's ancestor just below the root. Null while the window manager has
// not put a frame around the window.
QRect frameOnTheServer(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    const auto own = static_cast<xcb_window_t>(window.winId());
    xcb_window_t top = own;
    for (;;) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, top), nullptr);
        if (!tree) return {};
        const xcb_window_t parent = tree->parent;
        const bool atRoot = parent == tree->root;
        std::free(tree);
        if (atRoot) break;
        top = parent;
    }
    if (top == own) return {};
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, top), nullptr);
    if (!geometry) return {};
    const int border = geometry->border_width;
    const QRect bounds(geometry->x, geometry->y, geometry->width + 2 * border,
                       geometry->height + 2 * border);
    std::free(geometry);
    return bounds;
}

QString text(const QRect& r) {
    return QString("(%1,%2,%3,%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

void MainWindowFrameTest::init() {
    if (!skipReason_.isEmpty()) QSKIP(qPrintable(skipReason_));
}

void MainWindowFrameTest::restoredFrameSettlesOnTheWorkArea_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("keptAsStored");
    QTest::newRow("far above and left of the screen") << "-3000,-3000,700,400" << false;
    QTest::newRow("larger than the screen") << "40,40,3000,2500" << false;
    QTest::newRow("on the screen") << "120,80,500,300" << true;
}

// The first start fits the window; the three after it leave "Window" as
// the first close wrote it.
void MainWindowFrameTest::restoredFrameSettlesOnTheWorkArea() {
    QFETCH(QString, stored);
    QFETCH(bool, keptAsStored);
    UiTestWorld world;
    world.storeString(settingsschema::kBaseKey, "Window", stored.toStdString());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(area.size(), QSize(kScreenWidth, kScreenHeight));
    QString fitted;
    for (int start = 0; start < 4; ++start) {
        auto mainWindow = world.startMainWindow();
        mainWindow->show();
        // What the window manager and the fit have made of the window one
        // second after the show.
        QTest::qWait(1000);
        const QRect frame = frameOnTheServer(*mainWindow);
        QVERIFY2(!frame.isNull() && area.contains(frame),
                 qPrintable(
                     QString("start %1: the frame's outer bounds %2").arg(start).arg(text(frame))));
        QVERIFY(mainWindow->close());
        Settings now;
        LoadSettings(now, *world.store);
        const QString written = QString::fromStdString(now.windowPlacement);
        if (start == 0) {
            fitted = written;
            if (keptAsStored) QCOMPARE(fitted, stored);
        }
        QCOMPARE(written, fitted);
    }
}

int main(int argc, char** argv) {
    const XSession session(kScreenWidth, kScreenHeight);
    qputenv("QT_QPA_PLATFORM", session.ready() ? "xcb" : "offscreen");
    QApplication app(argc, argv);
    MainWindowFrameTest test(session.ready() ? QString()
                                             : QString::fromStdString(session.reason()));
    return QTest::qExec(&test, argc, argv);
}

#include "mainwindow_frame_x11_test.moc"
