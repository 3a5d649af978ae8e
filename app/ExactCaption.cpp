#include "ExactCaption.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>

namespace app {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, false, uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

// The window manager reads the UTF-8 name before the old one, which Qt already left empty.
void clearNetWmName(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_atom_t name = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(connection, "UTF8_STRING");
    if (name == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, name, utf8, 8, 0, nullptr);
    xcb_flush(connection);
}

} // namespace

void setExactCaption(QWidget* window, const QString& caption) {
    window->setWindowTitle(caption);
    if (!caption.isEmpty() || !window->windowHandle() || !window->testAttribute(Qt::WA_WState_Created))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    clearNetWmName(x11->connection(), xcb_window_t(window->winId()));
}

} // namespace app
