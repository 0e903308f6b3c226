// Test support: the lines of a printed PDF rebuilt from the words pdftotext finds and their
// positions, so that a test compares columns exactly (pdftotext -layout only estimates the
// blanks between words). Works for documents printed in one fixed-pitch font.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>

namespace quon::testing {

struct PdfWord {
  double Left = 0, Top = 0, Right = 0;
  QString Text;
};

inline bool HavePdfToText() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The words of each page of the PDF, as pdftotext -bbox reports them.
inline QList<QList<PdfWord>> PdfWords(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  const QString html = QString::fromUtf8(process.readAllStandardOutput());
  static const QRegularExpression tag(QStringLiteral(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
  QList<QList<PdfWord>> pages;
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(0) == QStringLiteral("<page ")) {
      pages.append(QList<PdfWord>());
    } else if (!pages.isEmpty()) {
      QString text = m.captured(4);
      text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
          .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
          .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
          .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
      pages.last().append(
          {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), text});
    }
  }
  return pages;
}

// The page's lines from its first printed line to its last, blank lines included: each word
// placed at its column counted from `left` (the left edge of the printed area, in points),
// each line at its place counted in steps of the smallest distance between two lines.
inline QStringList PageLines(const QList<PdfWord>& words, double left) {
  if (words.isEmpty()) return {};
  double advance = 0;  // the width of one character, from the longest word
  std::size_t longest = 0;
  std::map<double, QList<PdfWord>> rows;
  for (const PdfWord& word : words) {
    rows[word.Top].append(word);
    if (static_cast<std::size_t>(word.Text.size()) > longest) {
      longest = static_cast<std::size_t>(word.Text.size());
      advance = (word.Right - word.Left) / static_cast<double>(word.Text.size());
    }
  }
  double step = 0;
  for (auto it = rows.begin(); std::next(it) != rows.end(); ++it) {
    const double gap = std::next(it)->first - it->first;
    if (step == 0 || gap < step) step = gap;
  }
  const double top = rows.begin()->first;
  QStringList lines;
  for (auto& [y, row] : rows) {
    const int index = step == 0 ? 0 : static_cast<int>(std::lround((y - top) / step));
    while (lines.size() <= index) lines.append(QString());
    std::sort(row.begin(), row.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.Left < b.Left; });
    QString& line = lines[index];
    for (const PdfWord& word : row) {
      const int column = static_cast<int>(std::lround((word.Left - left) / advance));
      if (line.size() < column) line += QString(column - line.size(), QChar(' '));
      line += word.Text;
    }
  }
  return lines;
}

// The expected lines as a page shows them: trailing blanks dropped, and the blank lines
// before the first and after the last printed line left out.
inline QStringList AsPrinted(QStringList lines) {
  for (QString& line : lines) {
    while (line.endsWith(QChar(' '))) line.chop(1);
  }
  while (!lines.isEmpty() && lines.first().isEmpty()) lines.removeFirst();
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace quon::testing
