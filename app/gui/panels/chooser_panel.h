// The template chooser: kinds or brands on the left, the label stocks in the
// middle (recently used first, filtered by what is typed), the sheet on the
// right, OK and Cancel. The lists are the chooser model's; this draws them.
#pragma once
#include <QtWidgets/QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

class a_chooser_panel : public QWidget {
    Q_OBJECT
public:
    explicit a_chooser_panel(QWidget* parent = nullptr);
    ~a_chooser_panel() override;
    // Fills the lists afresh (on entering the phase).
    void Reload();
    // The working-list index chosen, 0 for none.
    int Selected_Template() const;
    // The kinds and sizes of a stock's labels and their count per sheet.
    static QString Summary(int template_index);
    // The data role of the list's entries that holds the stock's name.
    enum : int { NAME_ROLE = Qt::UserRole + 2 };

signals:
    void Chosen(int template_index);
    void Cancelled();

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Fill_Kinds();
    void Fill_Templates();
    void Show_Preview();
    void Set_Sort(int sort);
    void Kind_Row_Changed(int row);
    void Accept();

    QToolButton* by_brand_;
    QToolButton* by_kind_;
    QListWidget* kinds_;
    QLineEdit* filter_;
    QListWidget* templates_;
    QLabel* preview_;
    QLabel* title_;
    QLabel* details_;
    QPushButton* ok_;
    std::vector<QString> summaries_;  // by working-list index, made once a list
    // The maker and the kind chosen, each kept while the other list is
    // shown, so that both narrow the stocks at once: a working-list index of
    // the maker's first stock and a unit kind, 0 for every one.
    uint32_t maker_key_ = 0, kind_key_ = 0;
    bool Other_Filter_Passes(int template_index) const;
    void Show_Other_Filter();
};
