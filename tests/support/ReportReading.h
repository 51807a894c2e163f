#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <map>
#include <string>
#include <vector>

#include "TestPlatform.h"

namespace fw::testing {

// A report as its reader sees it.

// The PDF's text, one string per page, as pdftotext (poppler-utils) extracts
// it with the page's layout kept (a table's row on one line); nothing when
// the tool is missing or fails.
inline std::optional<QStringList> pdfPages(const QString& path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit || pdftotext.exitCode() != 0)
        return std::nullopt;
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.pop_back();
    return pages;
}

// One element of the HTML file as parsed: its class, its text (its
// descendants' included, blanks folded) and its style.
struct HtmlElement {
    QString name;
    QString cls;
    QString style;
    QString text;
};

struct ParsedHtml {
    bool wellFormed = false;
    QString error;
    std::vector<HtmlElement> elements;  // in document order
    bool hasScript = false;
    bool refersOutside = false;  // a src or a link to another file

    std::vector<HtmlElement> withClass(const QString& cls) const
    {
        std::vector<HtmlElement> found;
        for (const HtmlElement& e : elements)
            if (e.cls.split(QLatin1Char(' ')).contains(cls)) found.push_back(e);
        return found;
    }
};

inline ParsedHtml parseHtml(const QString& html)
{
    ParsedHtml parsed;
    QXmlStreamReader xml(html);
    std::vector<std::size_t> open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            const QString name = xml.name().toString();
            if (name == QLatin1String("script")) parsed.hasScript = true;
            if (a.hasAttribute(QStringLiteral("src")) || name == QLatin1String("link")) parsed.refersOutside = true;
            parsed.elements.push_back({name, a.value(QStringLiteral("class")).toString(),
                                       a.value(QStringLiteral("style")).toString(), {}});
            open.push_back(parsed.elements.size() - 1);
        } else if (xml.isEndElement()) {
            if (!open.empty()) open.pop_back();
        } else if (xml.isCharacters()) {
            for (const std::size_t i : open) parsed.elements[i].text += xml.text();
        }
    }
    parsed.wellFormed = !xml.hasError();
    parsed.error = xml.errorString();
    for (HtmlElement& e : parsed.elements) e.text = e.text.simplified();
    return parsed;
}

} // namespace fw::testing
