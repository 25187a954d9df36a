#include "support/recordingsurface.h"

QList<RecordingSurface::Op> RecordingSurface::texts() const {
    QList<Op> out;
    for (const auto& op : ops)
        if (op.kind == Op::Text) out << op;
    return out;
}

QList<RecordingSurface::Op> RecordingSurface::lines() const {
    QList<Op> out;
    for (const auto& op : ops)
        if (op.kind == Op::Line) out << op;
    return out;
}

const RecordingSurface::Op* RecordingSurface::findText(const QString& text) const {
    for (const auto& op : ops)
        if (op.kind == Op::Text && op.text == text) return &op;
    return nullptr;
}

const RecordingSurface::Op* RecordingSurface::findTextContaining(const QString& part) const {
    for (const auto& op : ops)
        if (op.kind == Op::Text && op.text.contains(part)) return &op;
    return nullptr;
}

int RecordingSurface::textWidth(const QString& text) {
    return measure ? measure(text) : m_charWidth * static_cast<int>(text.size());
}

void RecordingSurface::textOut(int x, int y, const QString& text) {
    Op op;
    op.kind = Op::Text;
    op.x = x;
    op.y = y;
    op.text = text;
    op.width = textWidth(text);
    op.colour = m_colour;
    op.style = m_style;
    op.size = m_size;
    op.font = m_font;
    ops << op;
}

void RecordingSurface::line(int x1, int y1, int x2, int y2) {
    Op op;
    op.kind = Op::Line;
    op.x = x1;
    op.y = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = m_pen;
    op.penWidth = m_penWidth;
    op.size = m_size;
    op.font = m_font;
    ops << op;
}

QStringList RecordingSurface::overlaps() const {
    const QList<Op> t = texts();
    QStringList found;
    for (int i = 0; i < t.size(); ++i)
        for (int j = i + 1; j < t.size(); ++j) {
            const Op& a = t[i];
            const Op& b = t[j];
            if (a.y != b.y || a.text.trimmed().isEmpty() || b.text.trimmed().isEmpty()) continue;
            if (a.x < b.x + b.width && b.x < a.x + a.width)
                found << QStringLiteral("\"%1\" / \"%2\" at y %3").arg(a.text, b.text).arg(a.y);
        }
    return found;
}
