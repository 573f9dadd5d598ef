#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableFormat>

namespace qvdemo {

// A table style of the demo editor: border, padding and how the header cells look.
struct TableStyle
{
    QString Name;
    QColor Border;
    qreal BorderWidth = 1.0;
    QColor HeaderBackground;
    bool BoldHeader = true;
};

// A paragraph style of the demo editor.
struct ParagraphStyle
{
    QString Name;
    bool Bold = false;
    bool Italic = false;
    qreal PointSize = 0.0; // 0 keeps the document's size
    qreal LeftIndent = 0.0;
};

// The styles the editor offers. Names not found (and "") give the plain look,
// since a saved Insert Data choice may name a style this editor lacks.
class StyleBook
{
public:
    // The editor's own styles.
    static StyleBook Demo();

    void AddTableStyle(const TableStyle &style) { m_tables.append(style); }
    void AddParagraphStyle(const ParagraphStyle &style) { m_paragraphs.append(style); }
    QStringList TableStyleNames() const;
    QStringList ParagraphStyleNames() const;

    QTextTableFormat TableFormat(const QString &name) const;
    // The format of a header cell's text and its background (invalid: none).
    QTextCharFormat HeaderCharFormat(const QString &name) const;
    QColor HeaderBackground(const QString &name) const;
    QTextBlockFormat BlockFormat(const QString &name) const;
    QTextCharFormat CharFormat(const QString &name) const;

private:
    const TableStyle *FindTable(const QString &name) const;
    const ParagraphStyle *FindParagraph(const QString &name) const;

    QList<TableStyle> m_tables;
    QList<ParagraphStyle> m_paragraphs;
};

} // namespace qvdemo
