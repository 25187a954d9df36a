#include "app/helpviewer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/io/runcontext.h"
#include "ui/desktop.h"
#include "ui/help.h"

namespace {
// The viewer of a desktop, made at its first request: a child of the desktop
// that outlives the windows the viewer moves between.
class ViewerSlot : public QObject {
public:
    explicit ViewerSlot(QObject* parent) : QObject(parent) { setObjectName(name()); }
    static QString name() { return QStringLiteral("HelpViewerSlot"); }
    QPointer<HelpViewer> viewer;
};
}   // namespace

HelpViewer::HelpViewer(Desktop& desktop, QWidget* parent) : QWidget(parent, Qt::Window), m_desktop(desktop) {
    setWindowTitle(QStringLiteral("Aide de Nutrimo"));
    setObjectName(QStringLiteral("HelpViewer"));
    resize(820, 560);

    m_back = new QPushButton(QStringLiteral("< &Précédent"), this);
    m_back->setObjectName(QStringLiteral("Precedent"));
    m_forward = new QPushButton(QStringLiteral("&Suivant >"), this);
    auto* indexButton = new QPushButton(QStringLiteral("&Index"), this);
    auto* closeButton = new QPushButton(QStringLiteral("&Fermer"), this);

    m_index = new QListWidget(this);
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(false);

    auto* split = new QSplitter(this);
    split->addWidget(m_index);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 520});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(indexButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split, 1);

    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);
    connect(m_index, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { display(item->data(Qt::UserRole).toInt(), true); });
    connect(m_index, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { display(item->data(Qt::UserRole).toInt(), true); });
    connect(indexButton, &QPushButton::clicked, this, [this] { display(0, true); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_back, &QPushButton::clicked, this, [this] {
        if (m_position > 0) display(m_history[--m_position], false);
    });
    connect(m_forward, &QPushButton::clicked, this, [this] {
        if (m_position + 1 < m_history.size()) display(m_history[++m_position], false);
    });
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpViewer::fillIndex() {
    m_index->clear();
    for (const HelpTopic& t : m_doc.topics()) {
        auto* item = new QListWidgetItem(t.title, m_index);
        item->setData(Qt::UserRole, t.context);
    }
}

void HelpViewer::showContext(int context) {
    RunContext& run = m_desktop.runContext();
    m_doc = HelpDocument::load(run.dataDir(), run.helpFile());
    fillIndex();
    display(context, true);
}

void HelpViewer::display(int context, bool record) {
    m_browser->setHtml(m_doc.page(context));
    m_current = m_doc.shownContext(context);
    if (record) {
        // A new topic cuts the forward history, as in a browser.
        while (m_history.size() > m_position + 1) m_history.removeLast();
        if (m_history.isEmpty() || m_history.last() != m_current) m_history << m_current;
        m_position = m_history.size() - 1;
    }
    m_back->setEnabled(m_position > 0);
    m_forward->setEnabled(m_position + 1 < m_history.size());
    for (int i = 0; i < m_index->count(); ++i) {
        if (m_index->item(i)->data(Qt::UserRole).toInt() == m_current) {
            const QSignalBlocker block(m_index);
            m_index->setCurrentRow(i);
        }
    }
}

void HelpViewer::linkClicked(const QUrl& url) {
    const int n = HelpDocument::contextOfLink(url.toString());
    if (n >= 0) {
        display(n, true);
    } else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        m_desktop.openUrl(url);
    }
}

HelpViewer* HelpViewer::of(const Desktop& desktop) {
    const auto* slot =
        static_cast<ViewerSlot*>(desktop.findChild<QObject*>(ViewerSlot::name(), Qt::FindDirectChildrenOnly));
    return slot ? slot->viewer.data() : nullptr;
}

void HelpViewer::install(Desktop& desktop, QWidget* mainWindow) {
    QPointer<QWidget> main(mainWindow);
    auto* slot = new ViewerSlot(&desktop);
    Desktop* d = &desktop;
    desktop.setHelpViewer([main, slot, d](int context) {
        QPointer<HelpViewer>& viewer = slot->viewer;
        // While a modal window is open every other window is blocked, except
        // the modal window's own windows: the viewer becomes one of them.
        QWidget* owner = QApplication::activeModalWidget();
        if (viewer && owner == viewer.data()) owner = viewer->parentWidget();
        // Otherwise it belongs to the main window, so that closing the main
        // window still ends the program while the viewer is open.
        if (!owner) owner = main.data();
        if (!viewer) {
            viewer = new HelpViewer(*d, owner);
            viewer->setAttribute(Qt::WA_DeleteOnClose, false);
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                QRect r = viewer->frameGeometry();
                r.moveCenter(screen->availableGeometry().center());
                viewer->move(r.topLeft());
            }
        } else if (viewer->parentWidget() != owner) {
            const QRect geometry = viewer->geometry();
            viewer->setParent(owner, Qt::Window);
            viewer->setGeometry(geometry);
        }
        viewer->showContext(context);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    });
}
