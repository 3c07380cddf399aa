#include "store/tab_edits.h"
#include "store/text.h"
#include "tools/bookmark_html.h"

namespace velandri {

namespace {

const QString kHeader = QStringLiteral(
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Velandri</H1>\n"
    "<DL><p>\n");
const QString kFooter = QStringLiteral("</DL><p>\n");

QString escaped(const QString& text) { return trim(text).toHtmlEscaped(); }

QString entryHtml(const UrlEntry& entry) {
    QString html = QStringLiteral("        <DT><A HREF=\"%1\">%2</A>\n")
                       .arg(escaped(entry[UrlField::url]), escaped(entry[UrlField::title]));
    if (!isBlank(entry[UrlField::content]))
        html += QStringLiteral("        <DD>%1\n").arg(escaped(entry[UrlField::content]));
    return html;
}

QString folderHtml(const QString& name, const TabSlots& tab) {
    QString html = QStringLiteral("    <DT><H3>%1</H3>\n    <DL><p>\n").arg(escaped(name));
    for (const UrlEntry& entry : tab)
        if (!isBlank(entry[UrlField::url])) html += entryHtml(entry);
    return html + QStringLiteral("    </DL><p>\n");
}

}  // namespace

QByteArray exportBookmarkHtml(const UrlStore& store) {
    QString html = kHeader;
    for (int tab = 0; tab < kTabCount; ++tab)
        if (!isBlank(store.tabNames[tab]) || tabHasEntries(store.entries[tab]))
            html += folderHtml(store.tabNames[tab], store.entries[tab]);
    return (html + kFooter).toUtf8();
}

}  // namespace velandri
