// Our reader of rich text: what the help window shows from "halp.rtf", whole or damaged.
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "gui/help_window.h"
#include "gui/rtf_reader.h"
#include "gui_test_support.h"
#include "rtl/text.h"

using trel::gui::readRtf;
using trel::gui::RtfDocument;

namespace {

std::vector<std::string> texts(const RtfDocument& d) {
  std::vector<std::string> out;
  for (const auto& p : d.paragraphs) out.push_back(p.plainText());
  return out;
}

}  // namespace

class RtfReaderTest : public QObject {
  Q_OBJECT
 private slots:
  void paragraphsRunsAndTheirLook() {
    RtfDocument d = readRtf(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
        "{\\colortbl ;\\red255\\green102\\blue0;}"
        "\\pard\\qc\\fs36\\b Title\\b0\\par\n"
        "\\pard\\fs24 Plain {\\i slanted} and \\cf1 orange\\cf0  text.\\par\n"
        "{\\f1 %ECHO hi}\\line next\\par}");
    QVERIFY(d.richText);
    QCOMPARE(texts(d), (std::vector<std::string>{"Title", "Plain slanted and orange text.",
                                                 "%ECHO hi\nnext"}));
    const auto& title = d.paragraphs[0];
    QCOMPARE(int(title.alignment), int(trel::gui::RtfAlignment::Centre));
    QVERIFY(title.runs[0].bold);
    QCOMPARE(title.runs[0].halfPoints, 36);
    const auto& body = d.paragraphs[1].runs;
    QCOMPARE(body.size(), size_t(5));
    QVERIFY(body[1].italic && !body[2].italic);  // the group's look ends with the group
    QCOMPARE(body[3].text, std::string("orange"));
    QCOMPARE(*body[3].colour, 0xFF6600u);
    QVERIFY(!body[4].colour);
    QVERIFY(d.paragraphs[2].runs[0].fixedPitch);
    QVERIFY(!d.paragraphs[2].runs[1].fixedPitch);
  }

  void escapesAndSpecialCharacters() {
    RtfDocument d = readRtf("{\\rtf1 a\\{b\\}c\\\\ caf\\'e9 \\u8364? x\\~y \\emdash\\tab z\\par}");
    QCOMPARE(texts(d)[0],
             std::string("a{b}c\\ caf\xc3\xa9 \xe2\x82\xac x\xc2\xa0y \xe2\x80\x94\tz"));
  }

  void destinationsAreNotShown() {
    RtfDocument d = readRtf(
        "{\\rtf1{\\info{\\title Secret}}{\\*\\generator Someone;}{\\stylesheet{\\s0 "
        "Normal;}}Shown\\par}");
    QCOMPARE(texts(d), std::vector<std::string>{"Shown"});
  }

  void damagedFilesGiveWhatCanBeRead() {
    // Cut off in the middle, a stray closing brace, an unknown word, a bad escape at the end.
    RtfDocument cut = readRtf("{\\rtf1 one\\par} } two\\par{\\zzz three\\'");
    QCOMPARE(texts(cut), (std::vector<std::string>{"one", "  two", "three"}));
    // Nesting far deeper than any real file: read as flat text, no recursion.
    std::string deep = "{\\rtf1 " + std::string(200000, '{') + "deep" + std::string(10, '}');
    QCOMPARE(texts(readRtf(deep)), std::vector<std::string>{"deep"});
    std::string bytes(4096, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 256);
    readRtf("{\\rtf1" + bytes);  // arbitrary bytes: no crash
  }

  void textThatIsNotRichTextShowsAsPlainLines() {
    RtfDocument d = readRtf("Just text\r\nsecond line\n\xe9t\xe9");
    QVERIFY(!d.richText);
    QCOMPARE(texts(d), (std::vector<std::string>{"Just text", "second line", "\xc3\xa9t\xc3\xa9"}));
    QCOMPARE(texts(readRtf("")), std::vector<std::string>{""});
  }

  void theHelpFileReadsAsAGuideWithHeadings() {
    std::string rtf = trel::readWholeFile(TREL_SOURCE_DIR "/data/halp.rtf");
    RtfDocument d = readRtf(rtf);
    QVERIFY(d.richText);
    QVERIFY(d.paragraphs.size() > 100);
    int headings = 0;
    std::string all;
    for (const auto& p : d.paragraphs) {
      if (!p.runs.empty() && p.runs[0].bold && p.runs[0].halfPoints >= 28) ++headings;
      all += p.plainText() + "\n";
    }
    QVERIFY(headings >= 8);
    for (const char* topic : {"%ECHO", "formula (", "def (", "while (", "Build exe", "HALT", "CALL",
                              "%MAKE_FORM", "::formclick", "%import"})
      QVERIFY2(all.find(topic) != std::string::npos, topic);
    // No control word leaks into the text.
    QVERIFY(all.find("\\par") == std::string::npos && all.find("\\b") == std::string::npos);
    QTextDocument doc;
    trel::gui::fillTextDocument(doc, d);
    QCOMPARE(doc.blockCount(), int(d.paragraphs.size()));
  }
};

TREL_GUI_TEST(RtfReaderTest);
#include "rtf_reader_test.moc"
