#pragma once
// The help document "DIETAIDE.HLP": topics identified by context numbers.
//
// The file is UTF-8 text. Everything before the first topic is a preamble
// (free text, ignored). A topic starts with a line
//     @@ <context> <title>
// and runs to the next such line; its body is an HTML fragment. Inside a
// body, [[N]] is a link to topic N showing that topic's title, and
// [[N|text]] a link showing the given text. Context 0 is the index.
//
// The program reads the DIETAIDE.HLP of the Data directory when there is one
// (so a site can ship its own help), else the copy built into the program.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

class DataDirectory;

struct HelpTopic {
    int context = -1;
    QString title;
    QString body;   // HTML fragment as written in the file
};

class HelpDocument {
public:
    // Parses a document's text; malformed topic lines are reported in errors().
    static HelpDocument parse(const QString& text);
    // Reads the named help file: the Data directory's copy when it exists,
    // else the built-in one. An unreadable file gives an empty document with
    // an error.
    static HelpDocument load(const DataDirectory& dataDir, const QString& fileName);
    // Where load() reads from: a path in the Data directory, or the resource.
    static QString locate(const DataDirectory& dataDir, const QString& fileName);
    static QString builtInPath();

    const QVector<HelpTopic>& topics() const { return m_topics; }
    const HelpTopic* topic(int context) const;
    bool has(int context) const { return topic(context) != nullptr; }
    QStringList errors() const { return m_errors; }
    // Context numbers that [[N]] links point to but that have no topic.
    QList<int> brokenLinks() const;

    // The HTML page shown for a context: the topic's title and its body with
    // links expanded. An unknown context shows the index with a short note.
    QString page(int context) const;
    // The context actually shown by page(context): context itself, or 0.
    int shownContext(int context) const;

    // Links point to "aide:N"; returns N, or -1 for any other link.
    static int contextOfLink(const QString& url);

private:
    QString expandLinks(const QString& body) const;
    QVector<HelpTopic> m_topics;
    QMap<int, int> m_index;   // context -> position in m_topics
    QStringList m_errors;
};
