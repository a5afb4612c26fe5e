#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class ChooseLanguagePage;
}

// The first page of every run: the user chooses the language of the whole run, and the vendor
// maps already installed decide whether the install-or-uninstall choice is offered. While the
// pointer rests on a language button, the window's logo shows that language.
class ChooseLanguagePage : public QWidget
{
    Q_OBJECT

public:
    explicit ChooseLanguagePage(QWidget *parent = nullptr);
    ~ChooseLanguagePage() override;

    bool eventFilter(QObject *object, QEvent *event) override;

private Q_SLOTS:
    void onLanguageButtonClicked();

private:
    void showLogo(const QString &code);

    std::unique_ptr<Ui::ChooseLanguagePage> ui;
    QPointer<QWidget> m_mainWindow;
};
