#pragma once

#include <QCoreApplication>

class ProductInfoRequest;
class QWidget;

// The product-information step of the wizard: asks for the product serial, fetches what the
// vendor's service knows about the product and, on success, hands the record to Core, shows the
// product's notice if it has one and moves the wizard on to UpdateFirmwarePage. It returns at
// once; the work goes on in the event loop. `origin` is the page that started the step (it is
// disabled while the request runs); it may be null.
//
// One step at a time: a call while the serial is being asked for or a request runs does nothing.
// BACK in the serial pop-up, and every failure (shown in the error pop-up), leave the user on
// `origin`, from where the step can be started again, with Core's previous record untouched.
class ProductInfoStep
{
    Q_DECLARE_TR_FUNCTIONS(ProductInfoStep)

public:
    static void start(QWidget *origin);

    // True while the serial pop-up is open or the request runs.
    static bool isRunning();

private:
    static void follow(ProductInfoRequest *request);
    static void showNotice(const QString &notice);
};
