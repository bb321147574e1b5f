#include "app/TestProbe.h"

#include <xcb/xcb.h>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>

#include "core/base/AtomicFile.h"

namespace tavrin {
namespace {

constexpr int kIntervalMs = 200;
constexpr int kMaxDepth = 12;

QString oneLine(QString text) {
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString roleName(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Window:
            return QStringLiteral("window");
        case QAccessible::Dialog:
            return QStringLiteral("dialog");
        case QAccessible::StaticText:
            return QStringLiteral("label");
        case QAccessible::Graphic:
            return QStringLiteral("picture");
        case QAccessible::Button:
            return QStringLiteral("button");
        case QAccessible::CheckBox:
            return QStringLiteral("checkbox");
        case QAccessible::RadioButton:
            return QStringLiteral("radio");
        case QAccessible::ComboBox:
            return QStringLiteral("combo");
        case QAccessible::EditableText:
            return QStringLiteral("text");
        case QAccessible::List:
            return QStringLiteral("list");
        case QAccessible::ListItem:
            return QStringLiteral("item");
        case QAccessible::Table:
            return QStringLiteral("table");
        case QAccessible::Tree:
            return QStringLiteral("tree");
        case QAccessible::TreeItem:
            return QStringLiteral("treeitem");
        case QAccessible::Cell:
            return QStringLiteral("cell");
        case QAccessible::Row:
            return QStringLiteral("row");
        case QAccessible::ColumnHeader:
            return QStringLiteral("header");
        case QAccessible::MenuItem:
            return QStringLiteral("menuitem");
        case QAccessible::PopupMenu:
            return QStringLiteral("menu");
        case QAccessible::MenuBar:
            return QStringLiteral("menubar");
        case QAccessible::SpinBox:
            return QStringLiteral("spin");
        case QAccessible::PageTab:
            return QStringLiteral("tab");
        case QAccessible::Slider:
            return QStringLiteral("slider");
        default:
            return QStringLiteral("role%1").arg(static_cast<int>(role));
    }
}

// How far the X server's place of `window` lies from the toolkit's idea of it. A window manager that
// reparents a window into its frame can leave the toolkit with a stale position (openbox's dock
// windows read as 0,0); a test reading the probe wants where the window really is.
QPoint serverOffset(const QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return {};
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return {};
    xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, static_cast<xcb_window_t>(window.winId()), screen->root, 0, 0),
        nullptr);
    if (!at) return {};
    const QPoint offset = QPoint(at->dst_x, at->dst_y) - window.geometry().topLeft();
    std::free(at);
    return offset;
}

void describe(QAccessibleInterface* element, int depth, const QPoint& offset, QString& out) {
    if (!element || !element->isValid() || depth > kMaxDepth) return;
    const QAccessible::State state = element->state();
    if (state.invisible || state.offscreen) return;
    QStringList words;
    if (state.checked) words << QStringLiteral("checked");
    if (state.disabled) words << QStringLiteral("disabled");
    if (state.focused) words << QStringLiteral("focused");
    // A picture button's only words are often its tool tip.
    QString name = element->text(QAccessible::Name);
    if (name.isEmpty()) name = element->text(QAccessible::Description);
    // A list with nothing chosen yet goes by the hint it shows.
    if (auto* combo = qobject_cast<QComboBox*>(element->object()); combo && name.isEmpty())
        name = combo->placeholderText();
    out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
               .arg(depth)
               .arg(roleName(element->role()), oneLine(name), oneLine(element->text(QAccessible::Value)),
                    rectText(element->rect().translated(offset)), words.join(' '));
    const int children = element->childCount();
    for (int i = 0; i < children; ++i) describe(element->child(i), depth + 1, offset, out);
}

}  // namespace

void TestProbe::startFromEnvironment(QObject* parent) {
    const char* path = std::getenv("TAVRIN_PROBE");
    if (path == nullptr || *path == '\0') return;
    new TestProbe(path, parent);
}

TestProbe::TestProbe(std::string path, QObject* parent) : QObject(parent), path_(std::move(path)) {
    connect(&timer_, &QTimer::timeout, this, &TestProbe::write);
    timer_.start(kIntervalMs);
}

QString TestProbe::snapshot() {
    QString out;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        const QPoint offset = serverOffset(*window);
        out += QStringLiteral("window\t%1\t%2\n")
                   .arg(oneLine(window->windowTitle()), rectText(window->frameGeometry().translated(offset)));
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
        if (!root) continue;
        for (int i = 0; i < root->childCount(); ++i) describe(root->child(i), 1, offset, out);
    }
    return out;
}

void TestProbe::write() {
    const QString now = snapshot();
    if (now == last_) return;
    last_ = now;
    if (const Result written = AtomicFile::write(path_, now.toStdString()); !written)
        qWarning("tavrin: %s", written.message().c_str());
}

}  // namespace tavrin
