#pragma once

#include "platform/SjisString.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

class ByteLimitedEdit;
class HttpClient;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The network settings dialog: the update check with its downloads (first
// page) and the stored settings for the next start (second page: formula
// weights and server address). Created once at start-up; between openings it
// keeps its page, the update address, the log and the last status.
class PropertyForm : public QDialog {
    Q_OBJECT

  public:
    explicit PropertyForm(QWidget* parent = nullptr);
    ~PropertyForm() override;

    // The opener fills the settings page before every opening with the
    // running values. Also forgets an earlier opening's reload.
    void FillSettings(const SjisString& server, int32_t perfect, int32_t great, int32_t combo, int32_t waru);

    // True when this opening completed a download and reloaded the song
    // table: the dialog then closes with OK, and the opener must drop every
    // list row that still points into the old table.
    bool DataReloaded() const { return dataReloaded_; }

    // The default update-list address, put into the address field at start.
    static const char* const kDefaultUpdateUrl;

    // Update-list lines whose files are to be downloaded.
    std::vector<SjisString> DownloadList;

    void FormCreate();
    void FormDestroy();
    void FormClose();
    void FormKeyDown(QKeyEvent* event);
    void btnUpdateClick();
    void btnGetClick();
    void CheckUpdateList(const SjisString& text);
    void DownloadUpdates();

  protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void Log(const SjisString& line);
    void SetInfo(const char* utf8);
    void ReportFailure();

    std::unique_ptr<HttpClient> IdHTTP1;
    bool dataReloaded_ = false;

    QTabWidget* PageControl1 = nullptr;
    ByteLimitedEdit* edURL = nullptr;
    QLabel* laInfo = nullptr;
    QPushButton* btnGet = nullptr;
    QPlainTextEdit* meLog = nullptr;
    ByteLimitedEdit* edPer = nullptr;
    ByteLimitedEdit* edGrt = nullptr;
    ByteLimitedEdit* edCmb = nullptr;
    ByteLimitedEdit* edWaru = nullptr;
    ByteLimitedEdit* edServer = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};
