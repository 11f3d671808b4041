#pragma once

#include "export/ExportOptions.h"
#include "platform/SjisString.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class RadioGroup;

// The export dialog. Its one object lives for the whole run and holds every
// export option in its controls: the dialog's "出力" and the main window's
// quick-export buttons export with whatever the controls hold at that moment.
class ExportForm : public QDialog {
    Q_OBJECT

  public:
    explicit ExportForm(QWidget* parent = nullptr);

    // Restores the options from [ExportText], [ExportHtml] and [Export]. A
    // stored index that is not an integer raises AppError; the keys after it
    // are not read and their controls keep their initial states.
    void FormCreate();
    // Writes every key back from the controls (also after "閉じる").
    void FormDestroy();
    void WriteSettings();

    // Recalculates, writes the text (kind 0; also to the clipboard) or HTML
    // (kind 1) export into the current folder and shows the confirmation.
    // Raises AppError when the file or the clipboard fails. The caller
    // disables its window around the call (RunLongOperation).
    void ExportSkillList(int kind);

    // Handler of "出力": exports the shown page's kind and closes with OK;
    // on an error the dialog stays open and usable.
    void btnExportClick();

    // The options the controls hold now.
    ExportOptions Options() const;

  private:
    struct Setting {
        const char* Section;
        const char* Key;
        const char* Default;
        std::function<SjisString()> Get;
        std::function<void(const SjisString&)> Set;
    };
    std::vector<Setting> Settings() const;

    QTabWidget* pagExport;
    RadioGroup* rgText1;
    QCheckBox* cbRow1;
    QCheckBox* cbRow2;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QComboBox* ComboBox3;
    QComboBox* ComboBox4;
    QComboBox* ComboBox5;
    QComboBox* ComboBox6;
    QComboBox* ComboBox7;
    QCheckBox* cbItem2;
    QCheckBox* cbItem3;
    QCheckBox* cbItem4;
    QCheckBox* cbItem5;
    QCheckBox* cbItem6;
    QCheckBox* cbItem7;
    QCheckBox* cbItem8;
    QCheckBox* cbItem9;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    RadioGroup* rgHtml1;
    RadioGroup* rgHtml2;
    RadioGroup* rgHtml3;
    RadioGroup* rgHtml4;
    QCheckBox* chYmOut;
    QPushButton* btnExport;
    QPushButton* btnCancel;
};
