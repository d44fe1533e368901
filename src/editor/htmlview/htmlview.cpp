#include "editor/htmlview/htmlview.h"

#include "picture/picturedecoder.h"
#include "platform/textfile.h"
#include "richtext/rtf/longwords.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMovie>
#include <QResizeEvent>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <algorithm>
#include <vector>

namespace {

// Pages and style sheets above this size are not read.
constexpr qint64 MaxPageBytes = 64LL * 1024 * 1024;
constexpr qint64 MaxPictureBytes = 512LL * 1024 * 1024;

// Pages are read as their byte order mark says, else as the editor reads text files: UTF-8 when
// they are valid UTF-8, else Windows-1252, the character set of most old pages that declare none.
QString decodePage(const QByteArray &bytes) {
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    return DecodeText(bytes, DetectTextFormat(bytes));
}

std::optional<QByteArray> readLocalFile(const QString &path, qint64 limit) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > limit)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// The bytes of a data: address ("data:image/png;base64,...").
QByteArray dataUrlBytes(const QUrl &url) {
    const QByteArray encoded = url.toEncoded(QUrl::RemoveScheme);
    const qsizetype comma = encoded.indexOf(',');
    if (comma < 0)
        return {};
    const QByteArray payload = QByteArray::fromPercentEncoding(encoded.mid(comma + 1));
    if (encoded.left(comma).endsWith(";base64"))
        return QByteArray::fromBase64(payload);
    return payload;
}

// Tables inside tables cost the text layout about twice as much per level (each cell is measured
// for its narrowest and widest width, and again at its final one), and a few thousand levels
// overflow its stack; the page reader's style lookup walks every element's ancestors. Elements
// deeper than these limits are left out, their text kept: a deep table shows its cells' text, a
// line per row.
constexpr int MaxTableNesting = 4;
constexpr int MaxElementNesting = 100;

bool isOneOf(QStringView name, const QStringList &names) {
    for (const QString &known : names)
        if (name.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isTableInnerTag(QStringView name) {
    static const QStringList tags = {
        QStringLiteral("tr"),      QStringLiteral("td"),    QStringLiteral("th"),
        QStringLiteral("tbody"),   QStringLiteral("thead"), QStringLiteral("tfoot"),
        QStringLiteral("caption"), QStringLiteral("col"),   QStringLiteral("colgroup")};
    return isOneOf(name, tags);
}

// Elements that pages close (or nest) explicitly; the others close themselves or hold nothing.
bool isNestingTag(QStringView name) {
    static const QStringList tags = {
        QStringLiteral("table"),      QStringLiteral("div"),    QStringLiteral("span"),
        QStringLiteral("blockquote"), QStringLiteral("ul"),     QStringLiteral("ol"),
        QStringLiteral("dl"),         QStringLiteral("center"), QStringLiteral("font"),
        QStringLiteral("a"),          QStringLiteral("b"),      QStringLiteral("i"),
        QStringLiteral("u"),          QStringLiteral("s"),      QStringLiteral("em"),
        QStringLiteral("strong"),     QStringLiteral("sub"),    QStringLiteral("sup"),
        QStringLiteral("small"),      QStringLiteral("big"),    QStringLiteral("code"),
        QStringLiteral("pre"),        QStringLiteral("tt"),     QStringLiteral("q")};
    return isOneOf(name, tags);
}

// The page with the elements nested deeper than the limits left out. Comments and the content
// of scripts and style sheets are passed over as the page's reader passes over them.
QString limitNesting(const QString &page) {
    struct Open {
        QString name;
        bool dropped;
    };
    std::vector<Open> open;
    int keptTables = 0;
    const auto innermostTableDropped = [&open] {
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if (it->name == QLatin1String("table"))
                return it->dropped;
        return false;
    };
    QString out;
    qsizetype copied = 0;
    qsizetype i = 0;
    const qsizetype size = page.size();
    while (i < size) {
        i = page.indexOf(QLatin1Char('<'), i);
        if (i < 0)
            break;
        if (QStringView(page).mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = page.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? size : end + 3;
            continue;
        }
        const qsizetype tagStart = i;
        qsizetype p = i + 1;
        const bool closing = p < size && page.at(p) == QLatin1Char('/');
        if (closing)
            ++p;
        const qsizetype nameStart = p;
        while (p < size && page.at(p).isLetterOrNumber())
            ++p;
        const QString name = page.mid(nameStart, p - nameStart).toLower();
        // The tag ends at the first '>' outside quotes.
        QChar quote;
        while (p < size && (!quote.isNull() || page.at(p) != QLatin1Char('>'))) {
            const QChar c = page.at(p);
            if (!quote.isNull() && c == quote)
                quote = QChar();
            else if (quote.isNull() && (c == QLatin1Char('"') || c == QLatin1Char('\'')))
                quote = c;
            ++p;
        }
        const qsizetype tagEnd = std::min(p + 1, size);
        i = tagEnd;
        if (name.isEmpty())
            continue;
        if (!closing && (name == QLatin1String("script") || name == QLatin1String("style"))) {
            const qsizetype end = page.indexOf(QLatin1String("</") + name, i, Qt::CaseInsensitive);
            i = end < 0 ? size : end;
            continue;
        }
        bool drop = false;
        if (isNestingTag(name)) {
            const bool table = name == QLatin1String("table");
            if (!closing) {
                drop = open.size() >= MaxElementNesting || (table && keptTables >= MaxTableNesting);
                open.push_back({name, drop});
                if (table && !drop)
                    ++keptTables;
            } else {
                // A closing tag closes its nearest open element; one that closes nothing stays.
                auto match = std::find_if(open.rbegin(), open.rend(),
                                          [&name](const Open &o) { return o.name == name; });
                if (match != open.rend()) {
                    drop = match->dropped;
                    if (table && !drop)
                        --keptTables;
                    open.erase(std::next(match).base(), open.end());
                }
            }
        } else if (isTableInnerTag(name)) {
            drop = innermostTableDropped();
        }
        if (!drop)
            continue;
        out += QStringView(page).mid(copied, tagStart - copied);
        if (closing && name == QLatin1String("tr"))
            out += QLatin1String("<br>");
        else if (name == QLatin1String("table") || name == QLatin1String("td") ||
                 name == QLatin1String("th"))
            out += QLatin1Char(' ');
        copied = tagEnd;
    }
    if (copied == 0)
        return page;
    out += QStringView(page).mid(copied);
    return out;
}

bool isWebAddress(const QUrl &url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto");
}

} // namespace

HtmlView::HtmlView(QWidget *parent)
    : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setAccessibleName(QStringLiteral("HTML Viewer"));
    document()->setDefaultFont(QFont(QStringLiteral("Times New Roman")));
    document()->setDefaultStyleSheet(
        QStringLiteral("pre, code, tt, kbd, samp { font-family: \"Courier New\"; }"));
    connect(this, &QTextBrowser::anchorClicked, this, &HtmlView::followLink);
}

HtmlView::~HtmlView() = default;

void HtmlView::reset() {
    if (m_movie) {
        m_movie->stop();
        delete m_movie;
        m_movie = nullptr;
    }
    m_decoded = QImage();
    m_pictureSize = QSize();
    m_pictureUrl = QUrl();
    m_shownFile.clear();
    clear();
    document()->setBaseUrl(QUrl());
}

bool HtmlView::loadPage(const QString &path) {
    reset();
    const auto bytes = readLocalFile(path, MaxPageBytes);
    if (!bytes)
        return false;
    const QString text = limitNesting(decodePage(*bytes));
    const QUrl base = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    document()->setBaseUrl(base);
    setWordWrapMode(LongWords::hasLongWordInMarkup(text)
                        ? QTextOption::WrapAnywhere
                        : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHtml(text);
    // Setting the text may reset the base address; relative references need it afterwards.
    document()->setBaseUrl(base);
    m_shownFile = path;
    return true;
}

bool HtmlView::loadPicture(const QString &path) {
    reset();
    const auto bytes = readLocalFile(path, MaxPictureBytes);
    if (!bytes)
        return false;
    const QSize full = PictureDecoder::size(*bytes);
    if (full.isEmpty())
        return false;
    m_pictureUrl = QUrl(QStringLiteral("quillet-picture:%1").arg(++m_pictureSerial));
    m_pictureSize = full;
    m_shownFile = path;

    if (PictureDecoder::isAnimation(*bytes)) {
        auto *buffer = new QBuffer;
        buffer->setData(*bytes);
        buffer->open(QIODevice::ReadOnly);
        m_movie = new QMovie(buffer, "gif", this);
        buffer->setParent(m_movie);
        m_movie->setCacheMode(QMovie::CacheNone);
        const QSize target = PictureDecoder::fitSize(full, pictureBounds());
        if (target != full)
            m_movie->setScaledSize(target);
        connect(m_movie, &QMovie::frameChanged, this, &HtmlView::movieFrameChanged);
        m_movie->start();
        if (m_movie->currentImage().isNull()) {
            reset();
            return false;
        }
        showPictureImage(m_movie->currentImage());
        return true;
    }

    const QImage image = PictureDecoder::decode(*bytes, pictureBounds());
    if (image.isNull()) {
        reset();
        return false;
    }
    m_decoded = image;
    showPictureImage(image);
    return true;
}

QSize HtmlView::shownPictureSize() const {
    if (m_pictureUrl.isEmpty())
        return {};
    const QVariant shown = document()->resource(QTextDocument::ImageResource, m_pictureUrl);
    return shown.value<QImage>().size();
}

QSize HtmlView::pictureBounds() const {
    // The picture stands in one line of the document: leave room for the margins around it and
    // for the font's descent below the line, so that no scroll bar appears for a fitted picture.
    const int margin = int(document()->documentMargin());
    const int descent = QFontMetrics(document()->defaultFont()).descent();
    const QSize area = viewport()->size();
    return QSize(area.width() - 2 * margin - 1, area.height() - 2 * margin - descent - 1)
        .expandedTo(QSize(1, 1));
}

void HtmlView::showPictureImage(const QImage &image) {
    clear();
    document()->addResource(QTextDocument::ImageResource, m_pictureUrl, image);
    QTextImageFormat format;
    format.setName(m_pictureUrl.toString());
    format.setWidth(image.width());
    format.setHeight(image.height());
    QTextCursor(document()).insertImage(format);
}

void HtmlView::movieFrameChanged() {
    if (!m_movie)
        return;
    const QImage frame = m_movie->currentImage();
    if (frame.isNull())
        return;
    if (frame.size() != shownPictureSize()) {
        showPictureImage(frame);
        return;
    }
    document()->addResource(QTextDocument::ImageResource, m_pictureUrl, frame);
    viewport()->update();
}

void HtmlView::refitPicture() {
    if (m_pictureSize.isEmpty())
        return;
    const QSize target = PictureDecoder::fitSize(m_pictureSize, pictureBounds());
    if (target == shownPictureSize())
        return;
    if (m_movie) {
        m_movie->setScaledSize(target);
        // A movie that has stopped (its loops played out) shows no new frame by itself.
        if (m_movie->state() != QMovie::Running)
            m_movie->jumpToFrame(m_movie->currentFrameNumber());
        return;
    }
    QImage image;
    if (target.width() <= m_decoded.width() && target.height() <= m_decoded.height()) {
        image = m_decoded.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else {
        image = PictureDecoder::decodeFile(m_shownFile, pictureBounds());
        if (image.isNull())
            return;
        m_decoded = image;
    }
    showPictureImage(image);
}

void HtmlView::resizeEvent(QResizeEvent *event) {
    QTextBrowser::resizeEvent(event);
    refitPicture();
}

void HtmlView::setExternalLinkHandler(std::function<void(const QUrl &)> handler) {
    m_openExternal = std::move(handler);
}

void HtmlView::setLocalLinkHandler(std::function<void(const QString &)> handler) {
    m_openLocal = std::move(handler);
}

bool HtmlView::isViewable(const QString &path) {
    const QString tail = path.right(3).toLower();
    static const QStringList kinds = {
        QStringLiteral("htm"), QStringLiteral("tml"), QStringLiteral("jpg"), QStringLiteral("peg"),
        QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("png")};
    return kinds.contains(tail);
}

void HtmlView::followLink(const QUrl &link) {
    if (isWebAddress(link)) {
        if (m_openExternal)
            m_openExternal(link);
        return;
    }
    const QUrl target = link.isRelative() ? document()->baseUrl().resolved(link) : link;
    if (!target.isLocalFile())
        return; // javascript:, data: and every other scheme lead nowhere
    const QString path = target.toLocalFile();
    const QString fragment = target.fragment();
    const bool samePage = !m_shownFile.isEmpty() && QFileInfo(path).absoluteFilePath() ==
                                                        QFileInfo(m_shownFile).absoluteFilePath();
    if (!samePage) {
        if (!isViewable(path))
            return; // a link never starts a program or opens a document for editing
        if (m_openLocal)
            m_openLocal(path);
        else if (path.right(3).toLower() == QLatin1String("htm") ||
                 path.right(3).toLower() == QLatin1String("tml"))
            loadPage(path);
        else
            loadPicture(path);
    }
    if (!fragment.isEmpty())
        scrollToAnchor(fragment);
}

QVariant HtmlView::loadResource(int type, const QUrl &name) {
    // Every answer is a value, even for refusals: an empty answer would let the document try to
    // load the address on its own.
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0) {
        if (type == QTextDocument::ImageResource)
            return PictureDecoder::decode(dataUrlBytes(name));
        return QByteArray();
    }
    const QUrl url = name.isRelative() ? document()->baseUrl().resolved(name) : name;
    if (!url.isLocalFile())
        return QByteArray();
    const QString path = url.toLocalFile();
    switch (type) {
    case QTextDocument::ImageResource:
        return PictureDecoder::decodeFile(path);
    case QTextDocument::StyleSheetResource:
    case QTextDocument::HtmlResource:
        if (const auto bytes = readLocalFile(path, MaxPageBytes))
            return decodePage(*bytes);
        return QString();
    default:
        return QByteArray();
    }
}
