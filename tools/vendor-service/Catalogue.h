#pragma once

#include "SampleProduct.h"
#include "ServedFile.h"

#include <QList>
#include <QMap>
#include <QString>

// The stand-in service's sample products and the files they point to. build() makes (or reuses)
// the files in the data folder and fills the products' checksums from them.
//
// Family numbers: the computer maps carry them in their Info.xml (decimal), the card images at
// CardImage::familyOffset as four hexadecimal ASCII digits; see SampleMapFiles.
class Catalogue
{
public:
    // mapSize is the size of each generated map archive and card image.
    bool build(const QString &dataDir, qint64 mapSize);
    QString errorString() const { return m_error; }

    const SampleProduct *product(const QString &serial) const;
    const ServedFile *file(const QString &name) const;
    const QList<SampleProduct> &products() const { return m_products; }

    // The product's answer object with every "/files/..." and "/pages/..." address completed
    // with `origin` (scheme, host and port the client used).
    static QJsonObject resolved(const QJsonObject &json, const QString &origin);

private:
    void addFile(const QString &name, const QString &path, qint64 size, const QString &md5,
                 FileFault fault = {});
    void addProducts();

    QMap<QString, ServedFile> m_files;
    QList<SampleProduct> m_products;
    QString m_error;
};
