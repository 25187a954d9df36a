#include "ui/tablenavigator.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "core/table/table.h"
#include "ui/iconbutton.h"

namespace {
// The buttons' glyphs, drawn small and dark like the bar of a data form:
// bars and triangles for the moves, a plus, a minus, a tick and a cross.
QIcon glyph(TableNavigator::Button b, const QColor& color) {
    QPixmap pix(16, 16);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    auto triangle = [&](qreal x, bool left) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 5, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 5, 13);
        } else {
            path.moveTo(x, 3);
            path.lineTo(x + 5, 8);
            path.lineTo(x, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (b) {
    case TableNavigator::First:
        p.drawRect(QRectF(4, 3, 2, 10));
        triangle(7, true);
        break;
    case TableNavigator::Prior:
        triangle(5.5, true);
        break;
    case TableNavigator::Next:
        triangle(5.5, false);
        break;
    case TableNavigator::Last:
        triangle(4, false);
        p.drawRect(QRectF(10, 3, 2, 10));
        break;
    case TableNavigator::Insert:
        p.drawRect(QRectF(3, 7, 10, 2));
        p.drawRect(QRectF(7, 3, 2, 10));
        break;
    case TableNavigator::Delete:
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case TableNavigator::Post: {
        QPen pen(color, 2);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    }
    case TableNavigator::Cancel: {
        QPen pen(color, 2);
        p.setPen(pen);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
    }
    p.end();
    QIcon icon(pix);
    return icon;
}
}   // namespace

TableNavigator::TableNavigator(const QVector<Button>& buttons, QWidget* parent)
    : QWidget(parent), m_order(buttons), m_buttons(Cancel + 1, nullptr), m_actions(Cancel + 1, nullptr) {
    for (Button b : m_order) {
        auto* button = new QToolButton(this);
        button->setIcon(glyph(b, b == Post     ? QColor(0, 110, 0)
                                 : b == Cancel ? QColor(170, 0, 0)
                                               : QColor(40, 40, 40)));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(IconButton::bulle(hint(b), keys(b)));
        button->setAccessibleName(hint(b));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, b] { emit clicked(b); });
        m_buttons[b] = button;
        auto* action = new QAction(hint(b), this);
        action->setShortcuts(keys(b));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, b] { click(b); });
        addAction(action);
        m_actions[b] = action;
    }
    followTable();
}

QList<QKeySequence> TableNavigator::keys(Button b) {
    switch (b) {
    case First:
        return {QKeySequence(Qt::CTRL | Qt::Key_Home)};
    case Prior:
        return {QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::Key_Up)};
    case Next:
        return {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Down)};
    case Last:
        return {QKeySequence(Qt::CTRL | Qt::Key_End)};
    case Insert:
        return {QKeySequence(Qt::Key_Insert)};
    case Delete:
        return {QKeySequence(Qt::CTRL | Qt::Key_Delete)};
    case Post:
        return {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)};
    case Cancel:
        return {QKeySequence(Qt::Key_Escape)};
    }
    return {};
}

QString TableNavigator::hint(Button b) {
    switch (b) {
    case First:
        return QStringLiteral("Début");
    case Prior:
        return QStringLiteral("Précédent");
    case Next:
        return QStringLiteral("Suivant");
    case Last:
        return QStringLiteral("Fin");
    case Insert:
        return QStringLiteral("Ajouter un aliment");
    case Delete:
        return QStringLiteral("Supprimer l'aliment");
    case Post:
        return QStringLiteral("Confirmer modifications");
    case Cancel:
        return QStringLiteral("Annuler modifications");
    }
    return QString();
}

void TableNavigator::setTable(Table* table) {
    if (m_table) disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    if (m_table) {
        connect(m_table, &Table::currentChanged, this, &TableNavigator::followTable);
        connect(m_table, &Table::layoutReset, this, &TableNavigator::followTable);
        connect(m_table, &Table::stateChanged, this, &TableNavigator::followTable);
        connect(m_table, &Table::rowChanged, this, &TableNavigator::followTable);
    }
    followTable();
}

QToolButton* TableNavigator::button(Button b) const { return m_buttons.value(b); }

void TableNavigator::click(Button b) {
    QToolButton* pressed = button(b);
    if (pressed && pressed->isEnabled()) emit clicked(b);
}

void TableNavigator::followTable() {
    const bool open = m_table && m_table->isOpen();
    const int n = open ? m_table->rowCount() : 0;
    const int row = open ? m_table->currentRow() : -1;
    const bool pending =
        open && (m_table->state() == Table::State::Edit || m_table->state() == Table::State::Insert);
    auto set = [&](Button b, bool on) {
        if (QToolButton* button = m_buttons[b]) button->setEnabled(on);
        // A greyed button's keys do nothing, and leave the key to the window
        // (Escape with nothing to cancel closes it).
        if (QAction* action = m_actions[b]) action->setEnabled(on);
    };
    set(First, open && row > 0);
    set(Prior, open && row > 0);
    set(Next, open && row >= 0 && row < n - 1);
    set(Last, open && row >= 0 && row < n - 1);
    set(Insert, open);
    set(Delete, open && n > 0);
    set(Post, pending);
    set(Cancel, pending);
}

void TableNavigator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int count = static_cast<int>(m_order.size());
    if (count == 0) return;
    for (int i = 0; i < count; ++i) {
        const int x0 = width() * i / count, x1 = width() * (i + 1) / count;
        m_buttons[m_order[i]]->setGeometry(x0, 0, x1 - x0, height());
    }
}

void TableNavigator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    qApp->installEventFilter(this);
}

void TableNavigator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    qApp->removeEventFilter(this);
}

bool TableNavigator::eventFilter(QObject* watched, QEvent* event) {
    // A box of the window would take some of the keys for itself (Ctrl+Home,
    // Ctrl+Delete in a line edit): asked first whether it wants the key, it
    // is not told, so that the button's key goes ahead.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == window()) {
            const QKeySequence key(static_cast<QKeyEvent*>(event)->keyCombination());
            for (QAction* a : std::as_const(m_actions))
                if (a && a->isEnabled() && a->shortcuts().contains(key)) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
