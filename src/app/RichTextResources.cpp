#include "app/RichTextResources.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <QVariant>

#include <utility>

namespace {

bool isOwn(const QString &name)
{
    return name.startsWith(QLatin1String(":/")) || name.startsWith(QLatin1String("qrc:/"));
}

bool hasForeignBackground(const QTextFormat &format)
{
    return format.hasProperty(QTextFormat::BackgroundImageUrl) &&
           !isOwn(format.stringProperty(QTextFormat::BackgroundImageUrl));
}

// The parent of the document that reads the markup: a document asks its parent for every resource
// before it would read the file itself, and gets a harmless answer here for each.
class ResourceGuard : public QObject
{
    Q_OBJECT

public:
    bool asked = false;

    Q_INVOKABLE QVariant loadResource(int type, const QUrl &name)
    {
        Q_UNUSED(name)
        asked = true;
        return type == QTextDocument::StyleSheetResource ? QVariant(QStringLiteral(" "))
                                                         : QVariant(QByteArray(" "));
    }
};

// Takes the foreign backgrounds off the cells of every table in `frame`, and off the tables.
bool clearFrameBackgrounds(QTextFrame *frame)
{
    bool changed = false;
    QTextFrameFormat format = frame->frameFormat();
    if (hasForeignBackground(format)) {
        format.clearProperty(QTextFormat::BackgroundImageUrl);
        frame->setFrameFormat(format);
        changed = true;
    }
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                QTextCharFormat cellFormat = cell.format();
                if (hasForeignBackground(cellFormat)) {
                    cellFormat.clearProperty(QTextFormat::BackgroundImageUrl);
                    cell.setFormat(cellFormat);
                    changed = true;
                }
            }
        }
    }
    const auto children = frame->childFrames();
    for (QTextFrame *child : children) {
        changed = clearFrameBackgrounds(child) || changed;
    }
    return changed;
}

} // namespace

namespace RichTextResources {

QString ownOnly(const QString &html)
{
    ResourceGuard guard;
    QTextDocument document(&guard);
    document.setHtml(html);
    // Only a style sheet is asked for while reading; it is never kept.
    bool changed = guard.asked;
    changed = clearFrameBackgrounds(document.rootFrame()) || changed;

    // Found first and changed afterwards, from the end, so the positions stay right.
    QList<std::pair<int, int>> foreignImages;
    QList<int> foreignBlockBackgrounds;
    QList<std::pair<int, int>> foreignCharBackgrounds;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (hasForeignBackground(block.blockFormat())) {
            foreignBlockBackgrounds.append(block.position());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const std::pair<int, int> range{fragment.position(), fragment.length()};
            if (format.isImageFormat() && !isOwn(format.toImageFormat().name())) {
                foreignImages.append(range);
            } else if (hasForeignBackground(format)) {
                foreignCharBackgrounds.append(range);
            }
        }
    }
    QTextCursor cursor(&document);
    for (const auto &[position, length] : std::as_const(foreignCharBackgrounds)) {
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        QTextCharFormat format = cursor.charFormat();
        format.clearProperty(QTextFormat::BackgroundImageUrl);
        cursor.setCharFormat(format);
    }
    for (const int position : std::as_const(foreignBlockBackgrounds)) {
        cursor.setPosition(position);
        QTextBlockFormat format = cursor.blockFormat();
        format.clearProperty(QTextFormat::BackgroundImageUrl);
        cursor.setBlockFormat(format);
    }
    for (auto it = foreignImages.crbegin(); it != foreignImages.crend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    changed = changed || !foreignImages.isEmpty() || !foreignBlockBackgrounds.isEmpty() ||
              !foreignCharBackgrounds.isEmpty();
    if (!changed) {
        return html;
    }
    // The rebuilt text keeps the font of the label that shows it, not this document's.
    static const QRegularExpression bodyStyle(QStringLiteral("<body style=\"[^\"]*\">"));
    return document.toHtml().replace(bodyStyle, QStringLiteral("<body>"));
}

} // namespace RichTextResources

#include "RichTextResources.moc"
