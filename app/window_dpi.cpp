#include "app/window_dpi.h"

#include <cstddef>

namespace {

typedef UINT(WINAPI* GetDpiForWindowFunction)(HWND);

// The DPI that the system's metrics (SystemParametersInfo) are given in.
UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi > 0 ? dpi : DEFAULT_DPI);
}

// Up to the message font: systems before Vista know no later member and refuse a larger size.
const UINT kMetricsSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi ? dpi : ScreenDpi();
}

HFONT CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = kMetricsSize;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kMetricsSize, &metrics, 0)) return nullptr;
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
  return CreateFontIndirectA(&metrics.lfMessageFont);
}

int FontLineHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight + metrics.tmExternalLeading;
}
