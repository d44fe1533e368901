#include "editor/htmlview/htmlview.h"
#include "richtext/rtf/longwords.h"
#include "testenvironment.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextTable>
#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A 1 x 1 GIF of two frames (black, then white), 20 ms apart, looping forever.
QByteArray twoFrameGif() {
    QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
    gif += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6); // palette: black, white
    gif += QByteArray("!\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const QByteArray frameControl("!\xF9\x04\x00\x02\x00\x00\x00", 8);
    const QByteArray descriptor(",\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    gif += frameControl + descriptor + QByteArray("\x02\x02\x44\x01\x00", 5); // index 0
    gif += frameControl + descriptor + QByteArray("\x02\x02\x4C\x01\x00", 5); // index 1
    gif += ';';
    return gif;
}

void write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The image formats of the document, in order.
QList<QTextImageFormat> images(const QTextDocument *document) {
    QList<QTextImageFormat> found;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found << it.fragment().charFormat().toImageFormat();
    return found;
}

// How many tables the deepest cell of the document lies in.
int deepestTableNesting(QTextFrame *frame, int depth = 0) {
    int deepest = depth;
    for (QTextFrame *child : frame->childFrames())
        deepest = std::max(
            deepest,
            deepestTableNesting(child, depth + (qobject_cast<QTextTable *>(child) ? 1 : 0)));
    return deepest;
}

// A listening socket on the loopback address that only tells whether anyone connected.
class Listener {
public:
    Listener() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket >= 0 &&
            ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) == 0 &&
            ::listen(m_socket, 4) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~Listener() {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    int port() const { return m_port; }
    bool connected() const {
        pollfd poll{m_socket, POLLIN, 0};
        return ::poll(&poll, 1, 0) > 0;
    }

private:
    int m_socket = -1;
    int m_port = 0;
};

} // namespace

// The HTML and picture viewer: pages with their local resources only, pictures fitted to the
// view, links, and silence on files it cannot show.
class tst_HtmlView : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("pics"));
        write(path(QStringLiteral("pics/dot.png")), encoded(filled(30, 20, Qt::green), "png"));
        write(path(QStringLiteral("big.jpg")), encoded(filled(1600, 1200, Qt::red), "jpg"));
        write(path(QStringLiteral("small.bmp")), encoded(filled(40, 30, Qt::blue), "bmp"));
        write(path(QStringLiteral("anim.gif")), twoFrameGif());
        write(path(QStringLiteral("broken.jpg")), QByteArray("this is not a picture"));
        write(path(QStringLiteral("text.gif")), QByteArray("GIF89a and nothing else"));
    }

    void pageTakesPicturesFromItsFolder() {
        write(path(QStringLiteral("page.htm")),
              "<html><body><p>Hello</p><img src=\"pics/dot.png\"></body></html>");
        HtmlView view;
        view.resize(400, 300);
        QVERIFY(view.loadPage(path(QStringLiteral("page.htm"))));
        QCOMPARE(view.shownFile(), path(QStringLiteral("page.htm")));
        QVERIFY(view.toPlainText().contains(QStringLiteral("Hello")));
        view.document()->documentLayout()->documentSize(); // lays out, which loads the pictures
        const QVariant picture =
            view.document()->resource(QTextDocument::ImageResource, QUrl("pics/dot.png"));
        QCOMPARE(picture.value<QImage>().size(), QSize(30, 20));
    }

    void pageEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addRow("utf-8") << QByteArray("<p>caf\xC3\xA9 \xE2\x82\xAC</p>")
                               << QStringLiteral(u"café €");
        QTest::addRow("windows-1252")
            << QByteArray("<p>caf\xE9 \x80</p>") << QStringLiteral(u"café €");
        QTest::addRow("utf-8 with mark")
            << QByteArray("\xEF\xBB\xBF<p>\xC3\xA9</p>") << QStringLiteral(u"é");
    }
    void pageEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        write(path(QStringLiteral("encoded.html")), bytes);
        HtmlView view;
        QVERIFY(view.loadPage(path(QStringLiteral("encoded.html"))));
        QCOMPARE(view.toPlainText(), text);
    }

    // The page names a picture on a web server listening right here; it must never be asked.
    void pageFetchesNothingFromTheNetwork() {
        Listener server;
        QVERIFY(server.port() > 0);
        const QString address = QStringLiteral("http://127.0.0.1:%1/").arg(server.port());
        write(path(QStringLiteral("remote.htm")),
              QStringLiteral("<link rel=stylesheet href=\"%1s.css\"><img src=\"%1p.png\">"
                             "<img src=\"//127.0.0.1:%2/q.png\">")
                  .arg(address)
                  .arg(server.port())
                  .toUtf8());
        HtmlView view;
        view.resize(300, 200);
        view.show();
        QVERIFY(view.loadPage(path(QStringLiteral("remote.htm"))));
        view.document()->documentLayout()->documentSize();
        QTest::qWait(100);
        QVERIFY(!server.connected());
        QVERIFY(view.loadResource(QTextDocument::ImageResource, QUrl(address + "p.png"))
                    .value<QImage>()
                    .isNull());
    }

    void inlinePicturesAreDecoded() {
        HtmlView view;
        const QByteArray png = encoded(filled(8, 6, Qt::green), "png");
        const QUrl url(QStringLiteral("data:image/png;base64,") +
                       QString::fromLatin1(png.toBase64()));
        QCOMPARE(view.loadResource(QTextDocument::ImageResource, url).value<QImage>().size(),
                 QSize(8, 6));
    }

    void largePictureFitsTheView() {
        HtmlView view;
        view.resize(420, 340);
        view.show();
        QVERIFY(view.loadPicture(path(QStringLiteral("big.jpg"))));
        QVERIFY(view.showsPicture());
        const QSize shown = view.shownPictureSize();
        QVERIFY2(shown.width() <= view.viewport()->width() &&
                     shown.height() <= view.viewport()->height(),
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QVERIFY(qAbs(shown.width() * 1200 - shown.height() * 1600) <= 1600); // aspect kept
        QVERIFY(shown.width() > 300);
        QCOMPARE(images(view.document()).size(), 1);
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
        QCOMPARE(view.horizontalScrollBar()->maximum(), 0);

        view.resize(820, 640); // a larger view shows the picture larger
        QTRY_VERIFY(view.shownPictureSize().width() > shown.width());
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    }

    void smallPictureKeepsItsSize() {
        HtmlView view;
        view.resize(400, 300);
        QVERIFY(view.loadPicture(path(QStringLiteral("small.bmp"))));
        QCOMPARE(view.shownPictureSize(), QSize(40, 30));
        QVERIFY(!view.isAnimated());
    }

    void gifAnimates() {
        HtmlView view;
        view.resize(200, 200);
        QVERIFY(view.loadPicture(path(QStringLiteral("anim.gif"))));
        QVERIFY(view.isAnimated());
        const QUrl url(images(view.document()).value(0).name());
        auto pixel = [&] {
            return view.document()
                ->resource(QTextDocument::ImageResource, url)
                .value<QImage>()
                .pixel(0, 0);
        };
        const QRgb first = pixel();
        QTRY_VERIFY(pixel() != first);
    }

    void deeplyNestedTablesOpen_data() {
        QTest::addColumn<int>("levels");
        QTest::addColumn<int>("shownLevels");
        QTest::addRow("3 levels kept") << 3 << 3;
        QTest::addRow("5000 levels") << 5000 << 4;
    }
    void deeplyNestedTablesOpen() {
        // Each level doubles the layout's work and thousands overflow its stack: the page opens
        // with its deepest tables shown as plain cell text.
        QFETCH(int, levels);
        QFETCH(int, shownLevels);
        QByteArray page = "<html><body><!-- <table> --><script>var t = '<table>';</script>";
        for (int i = 0; i < levels; ++i)
            page += "<div><table border=\"1\" title=\"a>b\"><tr><td>cell " + QByteArray::number(i) +
                    "</td><td>";
        page += "innermost";
        for (int i = 0; i < levels; ++i)
            page += "</td></tr><tr><td>after</td></tr></table></div>";
        page += "<p>end</p></body></html>";
        write(path(QStringLiteral("nested.html")), page);
        HtmlView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(view.loadPage(path(QStringLiteral("nested.html"))));
        view.document()->documentLayout()->documentSize();
        QCOMPARE(deepestTableNesting(view.document()->rootFrame()), shownLevels);
        const QString text = view.toPlainText();
        QVERIFY(text.contains(QStringLiteral("innermost")));
        QVERIFY(text.contains(QStringLiteral("cell %1").arg(levels - 1)));
        QVERIFY(text.contains(QStringLiteral("end")));
    }

    void deeplyNestedElementsOpen() {
        // Every element's style is looked up through all its ancestors.
        QByteArray page = "<html><body>";
        for (int i = 0; i < 5000; ++i)
            page += "<div><span><b>";
        page += "innermost";
        for (int i = 0; i < 5000; ++i)
            page += "</b></span></div>";
        page += "<p>after <b>bold</b></p></body></html>";
        write(path(QStringLiteral("divs.html")), page);
        HtmlView view;
        view.resize(400, 300);
        QVERIFY(view.loadPage(path(QStringLiteral("divs.html"))));
        QVERIFY(view.toPlainText().contains(QStringLiteral("innermost")));
        QTextCursor bold = view.document()->find(QStringLiteral("bold"));
        QVERIFY(!bold.isNull());
        QCOMPARE(bold.charFormat().fontWeight(), int(QFont::Bold));
        QVERIFY(!view.document()->find(QStringLiteral("after")).charFormat().font().bold());
    }

    void pageWithALongWordWrapsAnywhere_data() {
        // Qt measures the rest of a word for every line it fills: a page of one word of a
        // million characters took a minute to lay out.
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("anywhere");
        const QByteArray word(LongWords::MinimumLength, 'x');
        QTest::addRow("ordinary text") << QByteArray("<p>short words</p>") << false;
        QTest::addRow("a long word") << "<p>short words " + word + "</p>" << true;
        QTest::addRow("a long word across tags")
            << "<p>" + word.left(100) + "<b>" + word.mid(100) + "</b></p>" << true;
        QTest::addRow("a long address in a tag")
            << "<p><a href=\"" + word + "\">short words</a></p>" << false;
    }
    void pageWithALongWordWrapsAnywhere() {
        QFETCH(QByteArray, body);
        QFETCH(bool, anywhere);
        write(path(QStringLiteral("word.html")), "<html><body>" + body + "</body></html>");
        HtmlView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(view.loadPage(path(QStringLiteral("word.html"))));
        QCOMPARE(view.document()->defaultTextOption().wrapMode(),
                 anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

    void unreadableFilesShowNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("asPicture");
        QTest::addRow("text named jpg") << QStringLiteral("broken.jpg") << true;
        QTest::addRow("gif with no picture") << QStringLiteral("text.gif") << true;
        QTest::addRow("missing picture") << QStringLiteral("missing.jpg") << true;
        QTest::addRow("missing page") << QStringLiteral("missing.htm") << false;
        QTest::addRow("folder as page") << QStringLiteral("pics") << false;
    }
    void unreadableFilesShowNothing() {
        QFETCH(QString, name);
        QFETCH(bool, asPicture);
        HtmlView view;
        view.resize(300, 200);
        QVERIFY(view.loadPicture(path(QStringLiteral("small.bmp"))));
        const bool loaded = asPicture ? view.loadPicture(path(name)) : view.loadPage(path(name));
        QVERIFY(!loaded);
        QVERIFY(view.toPlainText().isEmpty());
        QVERIFY(images(view.document()).isEmpty());
        QVERIFY(!view.showsPicture());
        QVERIFY(view.shownFile().isEmpty());
    }

    void linksLeadToTheRightPlace() {
        write(path(QStringLiteral("links.htm")), "<a href=\"page.htm\">p</a><a name=\"end\"></a>");
        HtmlView view;
        QList<QUrl> external;
        QStringList local;
        view.setExternalLinkHandler([&](const QUrl &url) { external << url; });
        view.setLocalLinkHandler([&](const QString &file) { local << file; });
        QVERIFY(view.loadPage(path(QStringLiteral("links.htm"))));

        view.followLink(QUrl(QStringLiteral("https://example.org/a")));
        view.followLink(QUrl(QStringLiteral("mailto:someone@example.org")));
        QCOMPARE(external, (QList<QUrl>{QUrl(QStringLiteral("https://example.org/a")),
                                        QUrl(QStringLiteral("mailto:someone@example.org"))}));

        view.followLink(QUrl(QStringLiteral("page.htm")));
        view.followLink(QUrl(QStringLiteral("pics/dot.png")));
        view.followLink(QUrl::fromLocalFile(path(QStringLiteral("big.jpg"))));
        QCOMPARE(local, (QStringList{path(QStringLiteral("page.htm")),
                                     path(QStringLiteral("pics/dot.png")),
                                     path(QStringLiteral("big.jpg"))}));

        // Nothing else goes anywhere: no programs, no documents, no scripts.
        local.clear();
        external.clear();
        view.followLink(QUrl(QStringLiteral("setup.exe")));
        view.followLink(QUrl(QStringLiteral("notes.txt")));
        view.followLink(QUrl(QStringLiteral("javascript:alert(1)")));
        view.followLink(QUrl(QStringLiteral("#end")));
        QVERIFY(local.isEmpty());
        QVERIFY(external.isEmpty());
        QCOMPARE(view.shownFile(), path(QStringLiteral("links.htm")));
    }

    void localLinksOpenInTheViewerByDefault() {
        HtmlView view;
        view.resize(300, 200);
        QVERIFY(view.loadPage(path(QStringLiteral("links.htm"))));
        view.followLink(QUrl(QStringLiteral("page.htm")));
        QCOMPARE(view.shownFile(), path(QStringLiteral("page.htm")));
        view.followLink(QUrl(QStringLiteral("small.bmp")));
        QCOMPARE(view.shownFile(), path(QStringLiteral("small.bmp")));
        QVERIFY(view.showsPicture());
    }
};

QUILLET_TEST_MAIN(tst_HtmlView)
#include "tst_htmlview.moc"
