#pragma once

#include "net/HttpClient.h"
#include "platform/SjisString.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;
class SendForm;

// The account application dialog. Created once at start-up after SendForm:
// it copies SendForm's account fields when created, registers itself as
// SendForm's account dialog, and after a successful application hands the
// account name, password and new access code back to SendForm's fields
// before closing with OK.
class AccForm : public QDialog {
    Q_OBJECT

  public:
    explicit AccForm(SendForm& sendForm, QWidget* parent = nullptr);
    ~AccForm() override;

    void FormCreate();
    void btnSubmitClick();

  private:
    void BuildControls();
    SjisString AccountText() const;
    SjisString PasswordText() const;
    // Sends the application; true when the server granted it, the fields
    // then handed to the send dialog.
    bool SendApplication(const SjisString& account, const SjisString& password, const SjisString& accessCode);

    QPointer<SendForm> sendForm_;
    HttpClient IdHTTP1;

    QLineEdit* edAccount = nullptr;
    QLineEdit* edPassword = nullptr;
    QLineEdit* edAccess = nullptr;
    QCheckBox* chAccess = nullptr;
    QPushButton* btnSubmit = nullptr;
    QPushButton* btnClose = nullptr;

    // The texts as copied in, so untouched fields go back byte for byte.
    SjisString loadedAccount_;
    QString shownAccount_;
    SjisString loadedPassword_;
    QString shownPassword_;
};
