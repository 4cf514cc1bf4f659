#include "dialogs/help_window.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QDesktopServices>
#include <QtGui/QKeySequence>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QToolBar>

a_help_window::a_help_window(QWidget* parent) : QMainWindow(parent), browser_(new QTextBrowser(this)) {
    setObjectName("helpWindow");
    setWindowTitle(tr("Help"));
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);  // web addresses: the desktop's browser
    setCentralWidget(browser_);
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setMovable(false);
    QAction* back = bar->addAction(QIcon::fromTheme("go-previous"), tr("Back"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward =
        bar->addAction(QIcon::fromTheme("go-next"), tr("Forward"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    bar->addAction(QIcon::fromTheme("go-home"), tr("Contents"), this, [this] {
        if (!contents_.isEmpty()) browser_->setSource(QUrl::fromLocalFile(contents_));
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        // "Photos — Cirquel Help": the topic, then "Help" (the desktop adds the program's name).
        const QString topic = browser_->documentTitle().section(QString::fromUtf8(" \u2014 "), 0, 0).trimmed();
        setWindowTitle(topic.isEmpty() ? tr("Help") : tr("%1 — Help").arg(topic));
    });
    resize(640, 720);
}

bool a_help_window::Show_Page(const QString& path) {
    const QFileInfo page(path);
    if (!page.isFile() || !page.isReadable()) return false;
    // Every language's folder begins with the same first page, "1.html".
    contents_ = page.dir().filePath("1.html");
    browser_->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
    show();
    raise();
    activateWindow();
    return true;
}
