// The help manual's own window: the program's HTML pages in a text browser
// with Back, Forward and Contents, so help works on a desktop without a web
// browser. Links to the web go to the desktop's browser.
#pragma once
#include <QtWidgets/QMainWindow>

class QTextBrowser;

class a_help_window : public QMainWindow {
    Q_OBJECT
  public:
    explicit a_help_window(QWidget* parent = nullptr);
    // Shows the page at `path` (a local HTML file) and brings the window up;
    // false when the file cannot be read.
    bool Show_Page(const QString& path);
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
    QString contents_;  // the manual's first page, beside the shown one
};
