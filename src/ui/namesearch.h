#pragma once
// NameSearch: a search box above the list of the names that hold every word
// typed (WordSearch), best matches first, with a line that counts them. The
// composition window searches the whole Food table with it, the CIQUAL
// window the whole CIQUAL table.
//
// Keys in the box: the arrows and the page keys move in the list (with Shift,
// they extend a selection where several names may be chosen); Return picks
// the selected match, which is the first one until the user moves; Escape
// empties the box (an empty box lets Escape through to the window). In the
// list, Return and a double-click pick too. As the text changes the list is
// filled again at once and its first match selected.
#include <QStringList>
#include <functional>
#include <QVector>
#include <QWidget>

#include "core/search/wordsearch.h"

class QLabel;
class QLineEdit;
class QListView;
class NameListModel;

class NameSearch : public QWidget {
    Q_OBJECT
public:
    // What an empty box shows: nothing, or every name (a list to browse).
    enum class WhenEmpty { Nothing, Everything };
    // label: the box's label, with its access key ("&Rechercher").
    NameSearch(const QString& label, WhenEmpty empty, QWidget* parent = nullptr);
    ~NameSearch() override;

    // The names, in the order matches of one rank are listed; the search
    // starts again from the box's text.
    void setNames(const QStringList& names);
    // Where the names come from when they are read only once needed: when
    // the box first takes the focus or its text first changes after
    // forgetNames(). A window that may hold a hundred thousand names opens
    // without reading them for a search the user may not make.
    void setSource(std::function<QStringList()> source);
    // Empties the box and forgets the names until they are needed again.
    void forgetNames();
    // Several names may be selected at once (the CIQUAL window).
    void setMultipleSelection(bool on);
    // The counting line's words: "aliment", "aliments".
    void setNoun(const QString& one, const QString& many);

    const QStringList& names() const { return m_names; }
    QLineEdit* box() const { return m_box; }
    QListView* list() const { return m_list; }
    QLabel* countLine() const { return m_count; }

    // The indexes (into the names) of the matches, in list order.
    const QVector<int>& matches() const { return m_matches; }
    // The match of the list's current row; -1 when none.
    int current() const;
    // The selected matches, in list order (the current one when none is).
    QVector<int> selected() const;
    // Moves the list to a name (when it is among the matches).
    void setCurrent(int index);

signals:
    // Return or a double-click on a match.
    void picked(int index);
    // The current match changed (-1: none).
    void currentChanged(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search();
    void pick();
    void readNamesIfNeeded();

    WordSearch m_search;
    QStringList m_names;
    QVector<int> m_matches;
    WhenEmpty m_empty;
    std::function<QStringList()> m_source;
    bool m_stale = false;   // the names are to be read from the source
    QString m_one = QStringLiteral("aliment"), m_many = QStringLiteral("aliments");
    QLineEdit* m_box = nullptr;
    QListView* m_list = nullptr;
    QLabel* m_count = nullptr;
    NameListModel* m_model = nullptr;
};
