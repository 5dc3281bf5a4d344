// The English catalogue must cover every marked text exactly: no entry left
// unfinished, none whose text has gone from the sources, and every argument
// marker of a text kept in its translation. The second test refreshes a copy
// of the catalogue from the sources, so a text marked but never translated
// fails here rather than showing up untranslated in the program.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct catalogue_check {
    int messages = 0;
    QStringList faults;
};

QSet<QString> argument_markers(const QString& text) {
    QSet<QString> markers;
    static const QRegularExpression marker("%[1-9]");
    for (auto it = marker.globalMatch(text); it.hasNext();)
        markers.insert(it.next().captured());
    return markers;
}

// No blank at the end (one at the start is a suffix's), inside brackets or
// before a colon, and "colour" spelt one way.
QString english_style_fault(const QString& translation) {
    static const QRegularExpression american("\\bcolor", QRegularExpression::CaseInsensitiveOption);
    if (!translation.isEmpty() && translation.back().isSpace()) return "blank at the end";
    if (translation.contains("( ") || translation.contains(" )")) return "blank inside brackets";
    if (translation.contains(" :")) return "blank before a colon";
    if (translation.contains(american)) return "\"color\"";
    return {};
}

catalogue_check check_catalogue(const QString& path) {
    catalogue_check check;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        check.faults << "cannot read " + path;
        return check;
    }
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            ++check.messages;
            const QString type = xml.attributes().value("type").toString();
            const QString translation = xml.readElementText();
            const QString where = context + ": \"" + source + "\"";
            if (!type.isEmpty())
                check.faults << type + " " + where;
            else if (translation.isEmpty())
                check.faults << "empty translation of " + where;
            else if (argument_markers(source) != argument_markers(translation))
                check.faults << "argument markers differ in " + where;
            else if (const QString fault = english_style_fault(translation); !fault.isEmpty())
                check.faults << fault + " in the translation of " + where;
        }
    }
    if (xml.hasError()) check.faults << "XML error: " + xml.errorString();
    return check;
}

std::string report(const catalogue_check& check) {
    return check.faults.join('\n').toStdString();
}

}  // namespace

TEST(TranslationCatalogue, EveryEntryIsFinishedAndCurrent) {
    const catalogue_check check = check_catalogue(MEVRA_TS_FILE);
    EXPECT_GT(check.messages, 200);
    EXPECT_TRUE(check.faults.isEmpty()) << report(check);
}

TEST(TranslationCatalogue, SourcesHoldNoTextMissingFromTheCatalogue) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath("mevra_en.ts");
    ASSERT_TRUE(QFile::copy(MEVRA_TS_FILE, copy));
    QStringList arguments = QString(MEVRA_LUPDATE_ARGS).split('|');
    arguments << "-ts" << copy;
    QProcess lupdate;
    lupdate.setWorkingDirectory(MEVRA_SOURCE_DIR);
    lupdate.start(MEVRA_LUPDATE, arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    const catalogue_check check = check_catalogue(copy);
    EXPECT_TRUE(check.faults.isEmpty())
        << report(check) << "\n(run `ninja update_translations` and translate the new texts)";
}
