#include "DemoStyles.h"

namespace qvdemo {

StyleBook StyleBook::Demo()
{
    StyleBook book;
    book.AddTableStyle({QStringLiteral("Grid"), QColor(Qt::black), 1.0, QColor(), true});
    book.AddTableStyle({QStringLiteral("Grid Blue"), QColor(0x1f, 0x4e, 0x79), 1.0, QColor(0xbd, 0xd7, 0xee), true});
    book.AddTableStyle({QStringLiteral("Light List"), QColor(0x99, 0x99, 0x99), 0.5, QColor(0xf2, 0xf2, 0xf2), false});
    book.AddParagraphStyle({QStringLiteral("Body Text"), false, false, 0.0, 0.0});
    book.AddParagraphStyle({QStringLiteral("Quote"), false, true, 0.0, 36.0});
    book.AddParagraphStyle({QStringLiteral("Strong"), true, false, 0.0, 0.0});
    return book;
}

QStringList StyleBook::TableStyleNames() const
{
    QStringList names;
    for (const TableStyle &style : m_tables)
        names.append(style.Name);
    return names;
}

QStringList StyleBook::ParagraphStyleNames() const
{
    QStringList names;
    for (const ParagraphStyle &style : m_paragraphs)
        names.append(style.Name);
    return names;
}

const TableStyle *StyleBook::FindTable(const QString &name) const
{
    for (const TableStyle &style : m_tables) {
        if (style.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &style;
    }
    return nullptr;
}

const ParagraphStyle *StyleBook::FindParagraph(const QString &name) const
{
    for (const ParagraphStyle &style : m_paragraphs) {
        if (style.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &style;
    }
    return nullptr;
}

QTextTableFormat StyleBook::TableFormat(const QString &name) const
{
    QTextTableFormat format;
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    const TableStyle *style = FindTable(name);
    format.setBorder(style ? style->BorderWidth : 1.0);
    format.setBorderBrush(style ? QBrush(style->Border) : QBrush(Qt::black));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    return format;
}

QTextCharFormat StyleBook::HeaderCharFormat(const QString &name) const
{
    QTextCharFormat format;
    const TableStyle *style = FindTable(name);
    if (!style || style->BoldHeader)
        format.setFontWeight(QFont::Bold);
    return format;
}

QColor StyleBook::HeaderBackground(const QString &name) const
{
    const TableStyle *style = FindTable(name);
    return style ? style->HeaderBackground : QColor();
}

QTextBlockFormat StyleBook::BlockFormat(const QString &name) const
{
    QTextBlockFormat format;
    if (const ParagraphStyle *style = FindParagraph(name))
        format.setLeftMargin(style->LeftIndent);
    return format;
}

QTextCharFormat StyleBook::CharFormat(const QString &name) const
{
    QTextCharFormat format;
    const ParagraphStyle *style = FindParagraph(name);
    if (!style)
        return format;
    if (style->Bold)
        format.setFontWeight(QFont::Bold);
    if (style->Italic)
        format.setFontItalic(true);
    if (style->PointSize > 0)
        format.setFontPointSize(style->PointSize);
    return format;
}

} // namespace qvdemo
