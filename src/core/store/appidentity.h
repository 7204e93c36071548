#pragma once

namespace quillon {

// The one application id of the desktop program: the .desktop file, the
// AppStream metainfo, the icon name and QGuiApplication::desktopFileName all
// carry it, so the desktop ties windows, menu entry and icon together.
inline constexpr char kAppId[] = "org.quillon.Quillon";

} // namespace quillon
