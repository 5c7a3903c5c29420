#include "windowmanagerhints.h"

#include <QColor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <bit>
#include <cstdlib>
#include <optional>

namespace velmora {

namespace {
// The atoms of the names, asked for together so they cost one round trip to the server.
template <std::size_t N>
std::array<xcb_atom_t, N> atoms(xcb_connection_t *connection, const std::array<const char *, N> &names)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(qstrlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> found{};
    for (std::size_t i = 0; i < N; ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        found[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
    }
    return found;
}
xcb_connection_t *x11Connection()
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

void setTransientFor(QWidget &window, QWidget *parent)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window.winId());
    if (parent) {
        const auto parentId = xcb_window_t(parent->winId());
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1,
                            &parentId);
    } else {
        xcb_delete_property(connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(connection);
}

void markAsDesktopWindow(QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = xcb_window_t(window.winId()); // creates the native window, unmapped
    const auto [type, desktop] = atoms<2>(connection, {"_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DESKTOP"});
    if (type == XCB_ATOM_NONE || desktop == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32, 1, &desktop);
    xcb_flush(connection);
}

namespace {

// The pixel value of `colour` in a true-colour visual: each channel scaled into its mask.
std::optional<uint32_t> truePixel(xcb_connection_t *connection, xcb_visualid_t visual, const QColor &colour)
{
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens)) {
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths)) {
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
                const xcb_visualtype_t &type = *visuals.data;
                if (type.visual_id != visual)
                    continue;
                if (type._class != XCB_VISUAL_CLASS_TRUE_COLOR && type._class != XCB_VISUAL_CLASS_DIRECT_COLOR)
                    return std::nullopt;
                const auto channel = [](int value, uint32_t mask) {
                    if (mask == 0)
                        return 0U;
                    const int shift = std::countr_zero(mask);
                    return (uint32_t(value) * (mask >> shift) / 255U) << shift;
                };
                return channel(colour.red(), type.red_mask) | channel(colour.green(), type.green_mask)
                       | channel(colour.blue(), type.blue_mask);
            }
        }
    }
    return std::nullopt;
}

} // namespace

bool fillByDisplayServer(QWidget &window, const QColor &colour)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return false;
    const auto id = xcb_window_t(window.winId());
    const xcb_get_window_attributes_cookie_t cookie = xcb_get_window_attributes(connection, id);
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(connection, cookie, nullptr);
    if (!attributes)
        return false;
    const std::optional<uint32_t> pixel = truePixel(connection, attributes->visual, colour);
    std::free(attributes);
    if (!pixel)
        return false;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &*pixel);
    xcb_clear_area(connection, 0, id, 0, 0, 0, 0);
    xcb_flush(connection);
    return true;
}

QRect freeScreenArea(const QScreen &screen)
{
    const QRect whole = screen.availableGeometry();
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return whole;
    const auto [workArea] = atoms<1>(connection, {"_NET_WORKAREA"});
    const xcb_screen_t *root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (workArea == XCB_ATOM_NONE || !root)
        return whole;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, root->root, workArea, XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr);
    QRect area = whole;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 16) {
        const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        // Device pixels on the screen; windows are placed in logical ones.
        const qreal ratio = screen.devicePixelRatio();
        const QRect published(qRound(v[0] / ratio), qRound(v[1] / ratio), qRound(v[2] / ratio), qRound(v[3] / ratio));
        if (!published.isEmpty())
            area = published.intersected(screen.geometry());
    }
    std::free(reply);
    return area.isEmpty() ? whole : area;
}

} // namespace velmora
