#pragma once
// What page drawing needs from a drawing surface (the diagnosis window, the
// printer page, or a recording surface in tests). Coordinates are the
// surface's device units; text is drawn with its top-left corner at the point
// and an opaque background, so later text covers earlier text.
#include <QString>
#include <QtGlobal>

namespace SurfaceColour {
constexpr quint32 Black = 0x000000;
constexpr quint32 Red = 0xFF0000;
constexpr quint32 Blue = 0x0000FF;
constexpr quint32 White = 0xFFFFFF;
}

class Surface {
public:
    enum Style { Regular = 0, Bold = 1, Underline = 2 };
    virtual ~Surface() = default;
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(int points) = 0;
    virtual void setFontStyle(int styleFlags) = 0;   // Style flags or-ed
    virtual void setTextColour(quint32 rgb) = 0;
    virtual int textWidth(const QString& text) = 0;
    virtual void textOut(int x, int y, const QString& text) = 0;
    virtual void setPen(quint32 rgb, int width) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
};
