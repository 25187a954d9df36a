#pragma once
// A Surface that records every call, for tests of the page-drawing steps.
// Text widths are a fixed number of units per character unless a measuring
// function is given.
#include <QList>
#include <QStringList>
#include <functional>

#include "core/interfaces/surface.h"

class RecordingSurface : public Surface {
public:
    struct Op {
        enum Kind { Text, Line } kind = Text;
        int x = 0, y = 0, x2 = 0, y2 = 0;
        QString text;
        int width = 0;        // the text's width as the surface measured it
        quint32 colour = 0;   // text colour, or pen colour for a line
        int style = Regular;
        int size = 0;   // font size in points at the time of the call
        QString font;
        int penWidth = 0;
    };

    explicit RecordingSurface(int charWidth = 6) : m_charWidth(charWidth) {}
    std::function<int(const QString&)> measure;   // overrides the fixed width

    QList<Op> ops;
    QList<Op> texts() const;
    QList<Op> lines() const;
    // The first text op whose text equals / contains the given text, or nullptr.
    const Op* findText(const QString& text) const;
    const Op* findTextContaining(const QString& part) const;
    // Texts of one line (same y) that run into each other, as "a" / "b"
    // pairs: with the opaque background, the later one would hide part of
    // the earlier one. Blank texts (which clear an area) do not count.
    QStringList overlaps() const;

    void setFontName(const QString& name) override { m_font = name; }
    void setFontSize(int points) override { m_size = points; }
    void setFontStyle(int styleFlags) override { m_style = styleFlags; }
    void setTextColour(quint32 rgb) override { m_colour = rgb; }
    int textWidth(const QString& text) override;
    void textOut(int x, int y, const QString& text) override;
    void setPen(quint32 rgb, int width) override {
        m_pen = rgb;
        m_penWidth = width;
    }
    void line(int x1, int y1, int x2, int y2) override;

private:
    int m_charWidth;
    QString m_font = QStringLiteral("Arial");
    int m_size = 10, m_style = Regular, m_penWidth = 1;
    quint32 m_colour = SurfaceColour::Black, m_pen = SurfaceColour::Black;
};
