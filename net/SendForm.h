#pragma once

#include "net/HttpClient.h"
#include "net/NetworkLog.h"
#include "platform/SjisString.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class AccForm;
class BusyRequest;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The web service's base address, read from [link] server when SendForm is
// created; every request is this text followed directly by a path and query.
extern SjisString ServerAddress;

// The data send/receive dialog. Created once at start-up (before AccForm,
// which copies the account fields from it) and kept for the whole run; it
// holds the account settings and the network log.
class SendForm : public QDialog {
    Q_OBJECT

  public:
    // Builds the controls and runs FormCreate (reads [link]).
    explicit SendForm(QWidget* parent = nullptr);
    ~SendForm() override;

    // The account dialog that "アカウント作成" opens; AccForm registers itself.
    void SetAccForm(AccForm* accForm) { accForm_ = accForm; }

    int32_t SendIndex = 0;
    SjisString PendingQuery;
    int32_t PendingCount = 0;
    SjisString Account;
    SjisString Password;
    SjisString AccessCode;

    // The log's lines, for tests.
    const NetworkLog& Log() const { return memLog; }

    void FormCreate();
    void btnAddClick();
    void btnDelClick();
    void btnSendClick();
    void btnRecvClick();
    void ApplyReceivedData(const std::string& body);
    void LogHttpError();
    void IdHTTP1Notice(const HttpNotice& notice);

  protected:
    // While a handler runs (it lets events through between the records of a
    // send), Esc and the close box must not end the dialog under it: the
    // request is remembered and carried out when the handler ends.
    void done(int result) override;

  private:
    class HandlerScope;
    friend class HandlerScope;

    void BuildControls();
    bool ServerGuard() const;
    void ShowAccount();
    // The dialog busy with a handler's requests: the request buttons off, in
    // this order, and back on when it ends.
    BusyRequest RequestBusy();
    // One GET with the dialog's client, the dialog painted first; remembers
    // the address for LogHttpError.
    bool Request(BusyRequest& busy, const SjisString& url, std::string& body);
    void ReportFailedRequest();
    void SendPending(BusyRequest& busy, std::vector<int32_t>& pendingSongs);

    HttpClient IdHTTP1;
    NetworkLog memLog;
    AccForm* accForm_ = nullptr;
    std::string lastUrl_;

    int handlerDepth_ = 0;
    bool closePending_ = false;
    int pendingResult_ = QDialog::Rejected;

    QLineEdit* edAccount = nullptr;
    QLineEdit* edAccess = nullptr;
    QLineEdit* edUrl = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnSend = nullptr;
    QComboBox* cmbMode = nullptr;
    QPushButton* btnRecv = nullptr;
    QLabel* lbStat = nullptr;
    QLabel* lbStatNum = nullptr;
    QPushButton* btnCancel = nullptr;
};
