#include "app/helpdocument.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "core/io/datadirectory.h"

// The built-in help lives in the resources of the app library, which a
// static library must register itself.
static void initHelpResource() {
    static const bool done = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)done;
}

namespace {
const QRegularExpression& topicLine() {
    static const QRegularExpression re(QStringLiteral("^@@\\s*(\\d+)\\s+(.+?)\\s*$"));
    return re;
}
const QRegularExpression& linkPattern() {
    static const QRegularExpression re(QStringLiteral("\\[\\[(\\d+)(?:\\|([^\\]]*))?\\]\\]"));
    return re;
}
}   // namespace

HelpDocument HelpDocument::parse(const QString& text) {
    HelpDocument doc;
    HelpTopic* current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.startsWith(QLatin1String("@@"))) {
            const auto m = topicLine().match(line);
            if (!m.hasMatch()) {
                doc.m_errors
                    << QStringLiteral("ligne %1 : en-tête de rubrique mal formé : %2").arg(i + 1).arg(line);
                current = nullptr;
                continue;
            }
            const int context = m.captured(1).toInt();
            if (doc.m_index.contains(context)) {
                doc.m_errors << QStringLiteral("ligne %1 : la rubrique %2 est définie deux fois")
                                    .arg(i + 1)
                                    .arg(context);
                current = nullptr;
                continue;
            }
            doc.m_index.insert(context, doc.m_topics.size());
            doc.m_topics.append(HelpTopic{context, m.captured(2), QString()});
            current = &doc.m_topics.last();
            continue;
        }
        if (current) {
            current->body += line;
            current->body += QLatin1Char('\n');
        }
    }
    return doc;
}

QString HelpDocument::builtInPath() {
    initHelpResource();
    return QStringLiteral(":/help/DIETAIDE.HLP");
}

QString HelpDocument::locate(const DataDirectory& dataDir, const QString& fileName) {
    const QString local = QDir::cleanPath(dataDir.resolve(fileName));
    if (QFile::exists(local)) return local;
    return builtInPath();
}

HelpDocument HelpDocument::load(const DataDirectory& dataDir, const QString& fileName) {
    const QString path = locate(dataDir, fileName);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        HelpDocument doc;
        doc.m_errors << QStringLiteral("Le fichier d'aide %1 ne peut pas être lu.").arg(fileName);
        return doc;
    }
    return parse(QString::fromUtf8(f.readAll()));
}

const HelpTopic* HelpDocument::topic(int context) const {
    const auto it = m_index.constFind(context);
    return it == m_index.constEnd() ? nullptr : &m_topics[*it];
}

QList<int> HelpDocument::brokenLinks() const {
    QList<int> broken;
    for (const HelpTopic& t : m_topics) {
        auto it = linkPattern().globalMatch(t.body);
        while (it.hasNext()) {
            const int n = it.next().captured(1).toInt();
            if (!has(n) && !broken.contains(n)) broken << n;
        }
    }
    return broken;
}

int HelpDocument::contextOfLink(const QString& url) {
    if (!url.startsWith(QLatin1String("aide:"))) return -1;
    bool ok = false;
    const int n = url.mid(5).toInt(&ok);
    return ok ? n : -1;
}

QString HelpDocument::expandLinks(const QString& body) const {
    QString out;
    int last = 0;
    auto it = linkPattern().globalMatch(body);
    while (it.hasNext()) {
        const auto m = it.next();
        out += body.mid(last, m.capturedStart() - last);
        const int n = m.captured(1).toInt();
        QString label = m.captured(2);
        if (label.isEmpty()) {
            const HelpTopic* t = topic(n);
            label = t ? t->title.toHtmlEscaped() : QStringLiteral("rubrique %1").arg(n);
        }
        out += QStringLiteral("<a href=\"aide:%1\">%2</a>").arg(n).arg(label);
        last = m.capturedEnd();
    }
    out += body.mid(last);
    return out;
}

int HelpDocument::shownContext(int context) const { return has(context) ? context : 0; }

QString HelpDocument::page(int context) const {
    QString html = QStringLiteral("<html><body>");
    const HelpTopic* t = topic(context);
    if (!t) {
        html += QStringLiteral(
                    "<p><i>Il n'y a pas de rubrique d'aide pour ce sujet (contexte %1). "
                    "Choisissez une rubrique dans l'index.</i></p>")
                    .arg(context);
        t = topic(0);
    }
    if (t) {
        html += QStringLiteral("<h2>%1</h2>").arg(t->title.toHtmlEscaped());
        html += expandLinks(t->body);
    } else {
        html += QStringLiteral("<p>Le fichier d'aide ne contient aucune rubrique.</p>");
    }
    html += QStringLiteral("</body></html>");
    return html;
}
