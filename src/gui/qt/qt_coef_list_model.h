// The rows of the results list: the coefficient listing of the model's Coef, produced a line
// at a time as the view asks for it, and single text lines such as the singular-matrix
// message. A fit of four variables with 40 terms each lists 2.6 million lines of about 280
// characters; holding them as strings would take gigabytes, so a listing here is only a
// line count, and each line is built on demand by ListingLine in O(1).
//
// The lines of a listing come from the model as it is when they are shown. The window
// empties the list (Clear) before anything reshapes Coef, so the count taken when the
// listing was appended stays right; a line that has nevertheless gone is shown empty.
#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

class CoefListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit CoefListModel(const ProblemModel& model, QObject* parent = nullptr);

  // Appends the whole listing of the model's coefficients (nothing for an empty Coef).
  // Rows beyond the largest count a list view can hold are left out.
  void AppendListing();
  // Appends one line of text.
  void AppendLine(const QString& text);
  // Removes every row.
  void Clear();

  // The text of row `row`, or an empty text outside the rows.
  QString LineText(int row) const;

  // The size of one character of the view's fixed-pitch font. Every row then reports the
  // size of the longest line without its trailing blanks, so that a view with uniform
  // item sizes scrolls sideways to the end of the longest term instead of eliding.
  void SetCharacterCell(QSize cell);
  // Characters of the longest line, trailing blanks dropped.
  int LongestLineLength() const { return longest_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  // A run of rows: a listing of `rows` lines, or one line of text.
  struct Segment {
    bool isListing = false;
    int rows = 1;
    QString text;
  };
  void AppendSegment(Segment segment);

  const ProblemModel& model_;
  std::vector<Segment> segments_;
  int rowCount_ = 0;
  int longest_ = 0;
  QSize cell_;
};

}  // namespace quon
