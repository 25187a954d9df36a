#include "ui/namesearch.h"

#include <QAbstractListModel>
#include <algorithm>
#include <functional>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QSignalBlocker>
#include <QVBoxLayout>

// The matches as list rows: only the rows on screen are ever asked for, so a
// hundred thousand matches cost no more than ten.
class NameListModel : public QAbstractListModel {
public:
    NameListModel(const QStringList& names, const QVector<int>& matches, QObject* parent)
        : QAbstractListModel(parent), m_names(names), m_matches(matches) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : m_matches.size();
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_matches.size()) return QVariant();
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return m_names.at(m_matches.at(index.row()));
        return QVariant();
    }
    void reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    const QStringList& m_names;
    const QVector<int>& m_matches;
};

NameSearch::NameSearch(const QString& label, WhenEmpty empty, QWidget* parent)
    : QWidget(parent), m_empty(empty) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    auto* title = new QLabel(label, this);
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("searchBox"));
    m_box->setPlaceholderText(QStringLiteral("quelques mots du nom"));
    m_box->setClearButtonEnabled(true);
    title->setBuddy(m_box);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("searchList"));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new NameListModel(m_names, m_matches, this);
    m_list->setModel(m_model);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("searchCount"));
    layout->addWidget(title);
    layout->addWidget(m_box);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);

    m_box->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_box, &QLineEdit::textChanged, this, [this] { search(); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid()) emit picked(m_matches.value(i.row(), -1));
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit currentChanged(current()); });
    search();
}

NameSearch::~NameSearch() = default;

void NameSearch::setNames(const QStringList& names) {
    m_model->reset([&] {
        m_names = names;
        m_search.setNames(m_names);
        m_matches.clear();
    });
    search();
}

void NameSearch::setSource(std::function<QStringList()> source) { m_source = std::move(source); }

void NameSearch::forgetNames() {
    {
        const QSignalBlocker quiet(m_box);
        m_box->clear();
    }
    setNames({});
    m_stale = static_cast<bool>(m_source);
}

void NameSearch::readNamesIfNeeded() {
    if (!m_stale) return;
    m_stale = false;
    setNames(m_source());
}

void NameSearch::setMultipleSelection(bool on) {
    m_list->setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void NameSearch::setNoun(const QString& one, const QString& many) {
    m_one = one;
    m_many = many;
    search();
}

void NameSearch::search() {
    const QString text = m_box->text();
    const bool nothing = m_empty == WhenEmpty::Nothing && WordSearch::fold(text).isEmpty();
    if (!nothing && m_stale) {
        readNamesIfNeeded();   // searches again
        return;
    }
    m_model->reset([&] { m_matches = nothing ? QVector<int>() : m_search.find(text); });
    const QLocale french(QLocale::French);
    if (nothing)
        m_count->clear();
    else if (m_matches.isEmpty())
        m_count->setText(QStringLiteral("Aucun %1 ne porte ces mots").arg(m_one));
    else
        m_count->setText(QStringLiteral("%1 %2").arg(french.toString(m_matches.size()),
                                                     m_matches.size() == 1 ? m_one : m_many));
    if (!m_matches.isEmpty())
        m_list->setCurrentIndex(m_model->index(0));
    else
        emit currentChanged(-1);
}

int NameSearch::current() const {
    const QModelIndex i = m_list->currentIndex();
    return i.isValid() ? m_matches.value(i.row(), -1) : -1;
}

QVector<int> NameSearch::selected() const {
    QModelIndexList rows = m_list->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QVector<int> out;
    for (const QModelIndex& i : rows) out << m_matches.value(i.row(), -1);
    if (out.isEmpty() && current() >= 0) out << current();
    return out;
}

void NameSearch::setCurrent(int index) {
    const int row = m_matches.indexOf(index);
    if (row >= 0) m_list->setCurrentIndex(m_model->index(row));
}

void NameSearch::pick() {
    if (current() >= 0) emit picked(current());
}

bool NameSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == m_box) readNamesIfNeeded();
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pick();
        return true;
    case Qt::Key_Escape:
        if (m_box->text().isEmpty()) return false;
        m_box->clear();
        m_box->setFocus();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (watched == m_box) {
            // The list moves as if it had the focus; the box keeps it.
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(m_list, &copy);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
