#include "Catalogue.h"

#include "SampleFileGenerator.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace {
constexpr qint64 minInstallerSize = 1024 * 1024;
// As large as a map up to this size: large enough that its check can be seen in the tour, small
// enough that a benchmark's multi-gigabyte maps do not bring a copy of their own size along.
constexpr qint64 maxInstallerSize = 8 * 1024 * 1024;
const QString latestVersion = QStringLiteral("24.2.0");
// The rate of the files served slowly, in bytes per second.
constexpr qint64 slowRate = 2 * 1024 * 1024;

const QList<MapFolder> norwayFolders = {
    {QStringLiteral("HalvornTopoNorwayNorth"), QStringLiteral("Halvorn Topo Norway North"), 4660},
    {QStringLiteral("HalvornTopoNorwaySouth"), QStringLiteral("Halvorn Topo Norway South"), 4661},
};
// The card product's computer copy: two maps for its two cards, and one the card product does not
// own (its family number is not among the product's), which installing must leave out.
const QList<MapFolder> cardComputerFolders = {
    {QStringLiteral("HalvornTopoCardEast"), QStringLiteral("Halvorn Topo Card East"), 4662},
    {QStringLiteral("HalvornTopoCardWest"), QStringLiteral("Halvorn Topo Card West"), 4663},
    {QStringLiteral("HalvornTopoCardExtra"), QStringLiteral("Halvorn Topo Card Extra"), 4700},
};

QString fileUrl(const QString &name)
{
    return QStringLiteral("/files/") + name;
}

QString pageUrl(const QString &name)
{
    return QStringLiteral("/pages/") + name;
}

QJsonArray fids(std::initializer_list<int> values)
{
    QJsonArray array;
    for (int value : values) {
        array.append(value);
    }
    return array;
}
} // namespace

void Catalogue::addFile(const QString &name, const QString &path, qint64 size, const QString &md5,
                        FileFault fault)
{
    // One strong validator per content, as a server derives it from the file.
    const QByteArray etag = '"' + md5.left(16).toLatin1() + '"';
    m_files.insert(name, ServedFile{name, path, size, md5, fault, etag});
}

bool Catalogue::build(const QString &dataDir, qint64 mapSize)
{
    if (!QDir().mkpath(dataDir)) {
        m_error = QStringLiteral("cannot create %1").arg(dataDir);
        return false;
    }
    SampleFileGenerator generator(dataDir);
    const auto norway = generator.mapArchive(QStringLiteral("halvorn-topo-norway.zip"),
                                             norwayFolders, latestVersion, mapSize);
    const auto cardPc = generator.mapArchive(QStringLiteral("halvorn-topo-card-pc.zip"),
                                             cardComputerFolders, latestVersion, mapSize);
    const auto card1 =
        generator.cardImage(QStringLiteral("halvorn-topo-card-1.img"), 4662, mapSize);
    const auto card2 =
        generator.cardImage(QStringLiteral("halvorn-topo-card-2.img"), 4663, mapSize);
    const auto installer = generator.installer(QStringLiteral("install_basecamp.exe"),
                                               qBound(minInstallerSize, mapSize, maxInstallerSize));
    const auto gpsData = generator.gpsDataArchive(QStringLiteral("halvorn-gps-data.zip"));
    if (!norway || !cardPc || !card1 || !card2 || !installer || !gpsData) {
        m_error = generator.errorString();
        return false;
    }

    for (const auto *generated : {&*norway, &*cardPc, &*card1, &*card2, &*installer, &*gpsData}) {
        addFile(QFileInfo(generated->path).fileName(), generated->path, generated->size,
                generated->md5);
    }
    // The same map under other names, each served with one fault.
    const qint64 faultPoint = qBound(qint64(1), norway->size / 4, qint64(4 * 1024 * 1024));
    addFile(QStringLiteral("halvorn-topo-norway-stall.zip"), norway->path, norway->size,
            norway->md5, {FileFault::Kind::StallAfter, faultPoint});
    addFile(QStringLiteral("halvorn-topo-norway-drop.zip"), norway->path, norway->size, norway->md5,
            {FileFault::Kind::DropAfter, faultPoint});
    addFile(QStringLiteral("halvorn-topo-norway-error.zip"), norway->path, norway->size,
            norway->md5, {FileFault::Kind::GetStatus, 500});
    addFile(QStringLiteral("halvorn-topo-norway-slow.zip"), norway->path, norway->size, norway->md5,
            {.rate = slowRate});
    addFile(QStringLiteral("halvorn-topo-norway-silent.zip"), norway->path, norway->size,
            norway->md5, {FileFault::Kind::Silent, 0});
    addFile(QStringLiteral("halvorn-topo-norway-nolength.zip"), norway->path, norway->size,
            norway->md5, {FileFault::Kind::NoLength, 0});
    addFile(QStringLiteral("halvorn-topo-card-1-slow.img"), card1->path, card1->size, card1->md5,
            {.rate = slowRate});
    // Downloads cut short once, to be continued: at 60 % (the tests and the demo), at half (the
    // benchmark), from a server without ranges, and of a map that changes meanwhile.
    const auto addNorway = [&](const char *variant, const FileFault &fault) {
        addFile(QStringLiteral("halvorn-topo-norway-%1.zip").arg(QLatin1String(variant)),
                norway->path, norway->size, norway->md5, fault);
    };
    using Kind = FileFault::Kind;
    const qint64 at60 = norway->size * 6 / 10;
    addNorway("drop-once", {Kind::DropOnce, at60});
    addNorway("drop-once-slow", {.kind = Kind::DropOnce, .value = at60, .rate = slowRate});
    addNorway("drop-half", {Kind::DropOnce, norway->size / 2});
    addNorway("no-ranges", {.kind = Kind::DropOnce, .value = at60, .ranges = false});
    addNorway("changed", {.kind = Kind::DropOnce, .value = at60, .changesAfterFirstGet = true});
    addFile(QStringLiteral("halvorn-topo-card-1-drop-once.img"), card1->path, card1->size,
            card1->md5, {FileFault::Kind::DropOnce, card1->size * 6 / 10});
    // Announced as 5 GiB: more than a FAT32 card can hold in one file. Only its size is asked.
    addFile(QStringLiteral("halvorn-topo-card-1-huge.img"), card1->path, qint64(5) << 30,
            card1->md5);
    // Announced as 4 EiB: more than any volume holds, and three times it is more than a signed
    // 64-bit number holds. Only its size is asked.
    addFile(QStringLiteral("halvorn-topo-norway-absurd.zip"), norway->path, qint64(1) << 62,
            norway->md5);
    // The installer and the GPS data served slowly (a few seconds each), and GPS data that fails.
    addFile(QStringLiteral("install_basecamp-slow.exe"), installer->path, installer->size,
            installer->md5, {.rate = slowRate});
    addFile(QStringLiteral("halvorn-gps-data-slow.zip"), gpsData->path, gpsData->size, gpsData->md5,
            {.rate = qMax(qint64(1), gpsData->size / 3)});
    addFile(QStringLiteral("halvorn-gps-data-error.zip"), gpsData->path, gpsData->size,
            gpsData->md5, {FileFault::Kind::GetStatus, 500});
    // No archive at all: the installer under an archive's name.
    addFile(QStringLiteral("halvorn-gps-data-corrupt.zip"), installer->path, installer->size,
            installer->md5);

    addProducts();
    return true;
}

const SampleProduct *Catalogue::product(const QString &serial) const
{
    for (const SampleProduct &product : m_products) {
        if (product.serial == serial) {
            return &product;
        }
    }
    return nullptr;
}

const ServedFile *Catalogue::file(const QString &name) const
{
    const auto found = m_files.constFind(name);
    return found == m_files.constEnd() ? nullptr : &*found;
}

void Catalogue::addProducts()
{
    const ServedFile &norway = m_files[QStringLiteral("halvorn-topo-norway.zip")];
    const ServedFile &cardPc = m_files[QStringLiteral("halvorn-topo-card-pc.zip")];
    const ServedFile &card1 = m_files[QStringLiteral("halvorn-topo-card-1.img")];
    const ServedFile &card2 = m_files[QStringLiteral("halvorn-topo-card-2.img")];
    const ServedFile &installer = m_files[QStringLiteral("install_basecamp.exe")];
    const ServedFile &gpsData = m_files[QStringLiteral("halvorn-gps-data.zip")];

    QJsonObject computer{
        {QStringLiteral("product_name"), QStringLiteral("Halvorn Topo Norway")},
        {QStringLiteral("notice"), QString()},
        {QStringLiteral("format"), QStringLiteral("PC")},
        {QStringLiteral("region_id"), 47},
        {QStringLiteral("latest_version_major"), 24},
        {QStringLiteral("latest_version_minor"), 2},
        {QStringLiteral("latest_version_update"), 0},
        {QStringLiteral("sd_version_major"), 0},
        {QStringLiteral("sd_version_minor"), 0},
        {QStringLiteral("sd_version_update"), 0},
        {QStringLiteral("basecamp_pc_download"), fileUrl(installer.name)},
        {QStringLiteral("basecamp_pc_md5"), installer.md5},
        {QStringLiteral("basecamp_mac_download"), QString()},
        {QStringLiteral("basecamp_mac_md5"), QString()},
        {QStringLiteral("subproducts_SD"), QJsonArray()},
        {QStringLiteral("subproducts_PC"),
         QJsonArray{QJsonObject{{QStringLiteral("map"), fileUrl(norway.name)},
                                {QStringLiteral("md5"), norway.md5},
                                {QStringLiteral("fid"), fids({4660, 4661})},
                                {QStringLiteral("remove_fid"), 4600}}}},
        {QStringLiteral("changelog_url"), pageUrl(QStringLiteral("changelog"))},
        {QStringLiteral("terms_of_use_url"), pageUrl(QStringLiteral("terms-of-use"))},
        {QStringLiteral("exchange_policy_url"), pageUrl(QStringLiteral("exchange-policy"))},
        {QStringLiteral("update_gps_firmware_url"), pageUrl(QStringLiteral("gps-firmware"))},
        {QStringLiteral("additional_gps_data_name"), QString()},
        {QStringLiteral("additional_gps_data_url"), QString()},
        {QStringLiteral("additional_gps_data_instructions"), QString()},
        {QStringLiteral("major_product_release_available"), false},
        {QStringLiteral("major_product_release_url"), QString()},
        {QStringLiteral("major_product_release_version"), 0},
    };
    const auto withMap = [](QJsonObject product, const QString &map, const QString &md5) {
        QJsonArray pc = product.value(QStringLiteral("subproducts_PC")).toArray();
        QJsonObject entry = pc.first().toObject();
        entry.insert(QStringLiteral("map"), fileUrl(map));
        entry.insert(QStringLiteral("md5"), md5);
        pc.replace(0, entry);
        product.insert(QStringLiteral("subproducts_PC"), pc);
        return product;
    };

    QJsonObject card = computer;
    card.insert(QStringLiteral("product_name"), QStringLiteral("Halvorn Topo Card"));
    card.insert(QStringLiteral("format"), QStringLiteral("SD"));
    card.insert(QStringLiteral("sd_version_major"), 23);
    card.insert(QStringLiteral("sd_version_minor"), 4);
    card.insert(QStringLiteral("sd_version_update"), 1);
    card.insert(
        QStringLiteral("subproducts_SD"),
        QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Halvorn Topo Card 1 of 2")},
                               {QStringLiteral("map"), fileUrl(card1.name)},
                               {QStringLiteral("md5"), card1.md5},
                               {QStringLiteral("fid"), 4662}},
                   QJsonObject{{QStringLiteral("name"), QStringLiteral("Halvorn Topo Card 2 of 2")},
                               {QStringLiteral("map"), fileUrl(card2.name)},
                               {QStringLiteral("md5"), card2.md5},
                               {QStringLiteral("fid"), 4663}}});
    card.insert(QStringLiteral("subproducts_PC"),
                QJsonArray{QJsonObject{{QStringLiteral("map"), fileUrl(cardPc.name)},
                                       {QStringLiteral("md5"), cardPc.md5},
                                       {QStringLiteral("fid"), fids({4662, 4663})}}});

    // The same cards, already holding the latest version.
    QJsonObject cardCurrent = card;
    cardCurrent.insert(QStringLiteral("product_name"),
                       QStringLiteral("Halvorn Topo Card (current)"));
    cardCurrent.insert(QStringLiteral("sd_version_major"), 24);
    cardCurrent.insert(QStringLiteral("sd_version_minor"), 2);
    cardCurrent.insert(QStringLiteral("sd_version_update"), 0);

    // The card product with its first card's map served otherwise.
    const auto withFirstCard = [&card](const QString &name, const QString &map,
                                       const QString &md5) {
        QJsonObject product = card;
        product.insert(QStringLiteral("product_name"), name);
        QJsonArray cards = card.value(QStringLiteral("subproducts_SD")).toArray();
        QJsonObject first = cards.at(0).toObject();
        first.insert(QStringLiteral("map"), fileUrl(map));
        first.insert(QStringLiteral("md5"), md5);
        cards.replace(0, first);
        product.insert(QStringLiteral("subproducts_SD"), cards);
        return product;
    };

    QJsonObject notice = computer;
    notice.insert(QStringLiteral("product_name"), QStringLiteral("Halvorn Topo Norway (notice)"));
    notice.insert(QStringLiteral("notice"),
                  QStringLiteral("  This release redraws the national parks. "
                                 "<a href=\"/pages/release-notes\">Read the release notes</a>.  "));

    QJsonObject gps = computer;
    gps.insert(QStringLiteral("product_name"), QStringLiteral("Halvorn Topo Norway with GPS data"));
    gps.insert(QStringLiteral("additional_gps_data_name"), QStringLiteral("Halvorn Mountain Huts"));
    gps.insert(QStringLiteral("additional_gps_data_url"), fileUrl(gpsData.name));
    gps.insert(QStringLiteral("additional_gps_data_instructions"),
               pageUrl(QStringLiteral("import-gps-data")));

    const auto withExtras = [&gps](const QString &installerName, const QString &installerMd5,
                                   const QString &gpsDataName) {
        QJsonObject product = gps;
        product.insert(QStringLiteral("basecamp_pc_download"), fileUrl(installerName));
        product.insert(QStringLiteral("basecamp_pc_md5"), installerMd5);
        product.insert(QStringLiteral("additional_gps_data_url"), fileUrl(gpsDataName));
        return product;
    };

    QJsonObject major = computer;
    major.insert(QStringLiteral("product_name"),
                 QStringLiteral("Halvorn Topo Norway (major release)"));
    major.insert(QStringLiteral("major_product_release_available"), true);
    major.insert(QStringLiteral("major_product_release_url"), pageUrl(QStringLiteral("topo-25")));
    major.insert(QStringLiteral("major_product_release_version"), 25);

    QJsonObject wrongMd5 = computer;
    wrongMd5 = withMap(wrongMd5, norway.name, QStringLiteral("0123456789abcdef0123456789abcdef"));

    using Reply = SampleProduct::Reply;
    using Reports = SampleProduct::Reports;
    m_products = {
        {QStringLiteral("HALV-PC-0001"),
         QStringLiteral("computer map, two map folders"),
         Reply::Object,
         Reports::Accept,
         {},
         computer},
        {QStringLiteral("HALV-SD-0002"),
         QStringLiteral("card map on two cards, card version 23.4.1"),
         Reply::Object,
         Reports::Accept,
         {},
         card},
        {QStringLiteral("HALV-NOTICE-0003"),
         QStringLiteral("computer map with a notice"),
         Reply::Object,
         Reports::Accept,
         {},
         notice},
        {QStringLiteral("HALV-GPS-0004"),
         QStringLiteral("computer map with additional GPS data"),
         Reply::Object,
         Reports::Accept,
         {},
         gps},
        {QStringLiteral("HALV-MAJOR-0005"),
         QStringLiteral("computer map with a major release offer"),
         Reply::Object,
         Reports::Accept,
         {},
         major},
        {QStringLiteral("HALV-SLOW-0006"),
         QStringLiteral("computer map served at 2 MiB/s"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-slow.zip"), norway.md5)},
        {QStringLiteral("HALV-SD-SLOW-0008"),
         QStringLiteral("card map on two cards, the first served at 2 MiB/s"),
         Reply::Object,
         Reports::Accept,
         {},
         withFirstCard(QStringLiteral("Halvorn Topo Card"),
                       QStringLiteral("halvorn-topo-card-1-slow.img"), card1.md5)},
        {QStringLiteral("HALV-EXTRAS-0009"),
         QStringLiteral("computer map whose BaseCamp installer and GPS data come slowly"),
         Reply::Object,
         Reports::Accept,
         {},
         withExtras(QStringLiteral("install_basecamp-slow.exe"), installer.md5,
                    QStringLiteral("halvorn-gps-data-slow.zip"))},
        {QStringLiteral("HALV-SD-CURRENT-0007"),
         QStringLiteral("card map on two cards, cards already at the latest version"),
         Reply::Object,
         Reports::Accept,
         {},
         cardCurrent},
        {QStringLiteral("SHAPE-ARRAY"),
         QStringLiteral("the computer map's answer inside an array"),
         Reply::ArrayOfObject,
         Reports::Accept,
         {},
         computer},
        {QStringLiteral("SHAPE-EMPTY-ARRAY"),
         QStringLiteral("answer: []"),
         Reply::EmptyArray,
         Reports::Accept,
         {},
         {}},
        {QStringLiteral("SHAPE-ARRAY-NUMBER"),
         QStringLiteral("answer: [5]"),
         Reply::ArrayOfNumber,
         Reports::Accept,
         {},
         {}},
        {QStringLiteral("FAULT-SERVICE-ERROR"),
         QStringLiteral("the service answers \"Error: ...\""),
         Reply::ServiceError,
         Reports::Accept,
         QStringLiteral(" This serial number is not registered for updates.\r\n"),
         {}},
        {QStringLiteral("FAULT-SERVICE-ERROR-EMPTY"),
         QStringLiteral("the service answers \"Error:\" alone"),
         Reply::ServiceError,
         Reports::Accept,
         QString(),
         {}},
        {QStringLiteral("FAULT-CORRUPT-JSON"),
         QStringLiteral("the answer is JSON cut short"),
         Reply::CorruptJson,
         Reports::Accept,
         {},
         computer},
        {QStringLiteral("FAULT-HTTP-ERROR"),
         QStringLiteral("the service answers HTTP 503"),
         Reply::HttpError,
         Reports::Accept,
         {},
         {}},
        {QStringLiteral("FAULT-INFO-SILENT"),
         QStringLiteral("the service takes the connection and never answers"),
         Reply::Silent,
         Reports::Accept,
         {},
         computer},
        {QStringLiteral("FAULT-INFO-STOPS"),
         QStringLiteral("the answer stops in the middle of its body"),
         Reply::StopsMidBody,
         Reports::Accept,
         {},
         computer},
        {QStringLiteral("FAULT-WRONG-MD5"),
         QStringLiteral("computer map whose announced MD5 is wrong"),
         Reply::Object,
         Reports::Accept,
         {},
         wrongMd5},
        {QStringLiteral("FAULT-STALL"),
         QStringLiteral("computer map download stalls after a quarter"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-stall.zip"), norway.md5)},
        {QStringLiteral("FAULT-DROP"),
         QStringLiteral("computer map download loses its connection"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-drop.zip"), norway.md5)},
        {QStringLiteral("FAULT-DROP-ONCE"),
         QStringLiteral("computer map served at 2 MiB/s whose first download breaks off at 60 %: "
                        "a new try continues it"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-drop-once-slow.zip"), norway.md5)},
        {QStringLiteral("FAULT-NO-RANGES"),
         QStringLiteral("as FAULT-DROP-ONCE, from a server without ranges: a new try starts over"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-no-ranges.zip"), norway.md5)},
        {QStringLiteral("FAULT-MAP-CHANGED"),
         QStringLiteral("as FAULT-DROP-ONCE, and the map changes (a new ETag) after the first "
                        "download: a new try starts over"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-changed.zip"), norway.md5)},
        {QStringLiteral("FAULT-MAP-HTTP-ERROR"),
         QStringLiteral("computer map download answers HTTP 500"),
         Reply::Object,
         Reports::Accept,
         {},
         withMap(computer, QStringLiteral("halvorn-topo-norway-error.zip"), norway.md5)},
        {QStringLiteral("FAULT-EXTRAS-CORRUPT"),
         QStringLiteral("BaseCamp installer whose announced MD5 is wrong; GPS data that is no "
                        "archive"),
         Reply::Object,
         Reports::Accept,
         {},
         withExtras(installer.name, QStringLiteral("0123456789abcdef0123456789abcdef"),
                    QStringLiteral("halvorn-gps-data-corrupt.zip"))},
        {QStringLiteral("FAULT-GPS-HTTP-ERROR"),
         QStringLiteral("GPS data download answers HTTP 500"),
         Reply::Object,
         Reports::Accept,
         {},
         withExtras(installer.name, installer.md5, QStringLiteral("halvorn-gps-data-error.zip"))},
        {QStringLiteral("FAULT-REPORT-FAILS"),
         QStringLiteral("card map whose version reports get HTTP 500"),
         Reply::Object,
         Reports::Fail,
         {},
         card},
        {QStringLiteral("FAULT-CARD-TOO-LARGE"),
         QStringLiteral("card map announced at 5 GiB, too large for a FAT32 card"),
         Reply::Object,
         Reports::Accept,
         {},
         withFirstCard(QStringLiteral("Halvorn Topo Card (huge)"),
                       QStringLiteral("halvorn-topo-card-1-huge.img"), card1.md5)},
        {QStringLiteral("FAULT-CARD-WRONG-MD5"),
         QStringLiteral("card map whose first card's announced MD5 is wrong"),
         Reply::Object,
         Reports::Accept,
         {},
         withFirstCard(QStringLiteral("Halvorn Topo Card (wrong MD5)"),
                       QStringLiteral("halvorn-topo-card-1.img"),
                       QStringLiteral("0123456789abcdef0123456789abcdef"))},
        {QStringLiteral("FAULT-REPORT-HANGS"),
         QStringLiteral("card map whose version reports are never answered"),
         Reply::Object,
         Reports::Hang,
         {},
         card},
    };
}

QJsonObject Catalogue::resolved(const QJsonObject &json, const QString &origin)
{
    QJsonObject result;
    for (auto it = json.constBegin(); it != json.constEnd(); ++it) {
        const QJsonValue value = it.value();
        if (value.isString() && (value.toString().startsWith(QLatin1String("/files/")) ||
                                 value.toString().startsWith(QLatin1String("/pages/")))) {
            result.insert(it.key(), origin + value.toString());
        } else if (value.isString()) {
            // Links inside a notice's markup point at this service too.
            QString text = value.toString();
            text.replace(QLatin1String("href=\"/pages/"),
                         QLatin1String("href=\"") + origin + QLatin1String("/pages/"));
            result.insert(it.key(), text);
        } else if (value.isObject()) {
            result.insert(it.key(), resolved(value.toObject(), origin));
        } else if (value.isArray()) {
            QJsonArray array;
            for (const QJsonValue &element : value.toArray()) {
                array.append(element.isObject() ? QJsonValue(resolved(element.toObject(), origin))
                                                : element);
            }
            result.insert(it.key(), array);
        } else {
            result.insert(it.key(), value);
        }
    }
    return result;
}
