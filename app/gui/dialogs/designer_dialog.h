// The template designer: a label sheet described field by field, with a
// live preview, each failed check beside its field, a test pattern to print,
// and the user's own sheets to add to, import into, edit and delete.
// The design itself is the core's a_askdesign_rec.
#pragma once
#include <QtWidgets/QDialog>

#include <functional>
#include <map>

#include "templates/designer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class a_designer_dialog : public QDialog {
    Q_OBJECT
public:
    explicit a_designer_dialog(QWidget* parent);
    ~a_designer_dialog() override;
    const a_askdesign_rec& Design() const { return *d_; }
    // Tests answer here instead of the file dialogs: a path, or empty.
    std::function<QString(bool save, const QString& proposed)> ask_file;

private:
    QLineEdit* Real_Field(int item, QWidget* parent);
    void Build();
    void Load_Fields();
    void Load_Section();
    void Store();
    void Show_Checks();
    void Show_Preview();
    void Refill_Mine();
    QString Ask_File(bool save, const QString& proposed);
    void Export();
    void Add_To_Mine();
    void Import();
    void Edit_Mine();
    void Delete_Mine();
    void Print_Pattern();
    void Tell(const QString& text);

    std::unique_ptr<a_askdesign_rec> d_;
    bool loading_ = false;
    QLineEdit* name_ = nullptr;
    QCheckBox* cdprinter_ = nullptr;
    QComboBox *paper_ = nullptr, *orient_ = nullptr, *pitch_ = nullptr, *units_ = nullptr;
    QComboBox *section_ = nullptr, *kind_ = nullptr, *mine_ = nullptr;
    std::map<int, QLineEdit*> fields_;   // by dialog item
    std::map<int, QCheckBox*> flags_;    // by dialog item
    std::map<int, QLabel*> checks_;      // what is wrong, beside each item
    QLabel* preview_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton *export_ = nullptr, *print_ = nullptr, *add_ = nullptr;
};

// The designer run over `parent` (the Help menu's "Design a new layout...").
void Run_Designer(QWidget* parent);
