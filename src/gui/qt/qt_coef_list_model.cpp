#include "gui/qt/qt_coef_list_model.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "core/report/listing.h"

namespace quon {

CoefListModel::CoefListModel(const ProblemModel& model, QObject* parent)
    : QAbstractListModel(parent), model_(model) {}

void CoefListModel::AppendListing() {
  const int64_t lines = ListingLineCount(model_);
  const int64_t room = std::numeric_limits<int>::max() - int64_t{rowCount_};
  const int rows = static_cast<int>(std::min(lines, room));
  if (rows <= 0) return;
  // Term labels grow with the term indices, and the listing ends with three empty lines,
  // so the last coefficient line is the longest.
  longest_ = std::max(
      longest_,
      static_cast<int>(QString::fromStdString(ListingLine(model_, std::max<int64_t>(0, lines - 4)))
                           .trimmed()
                           .size()));
  AppendSegment(Segment{true, rows, {}});
}

void CoefListModel::AppendLine(const QString& text) {
  if (rowCount_ == std::numeric_limits<int>::max()) return;
  longest_ = std::max(longest_, static_cast<int>(text.size()));
  AppendSegment(Segment{false, 1, text});
}

void CoefListModel::AppendSegment(Segment segment) {
  beginInsertRows(QModelIndex(), rowCount_, rowCount_ + segment.rows - 1);
  rowCount_ += segment.rows;
  segments_.push_back(std::move(segment));
  endInsertRows();
}

void CoefListModel::Clear() {
  if (rowCount_ == 0) return;
  beginResetModel();
  segments_.clear();
  rowCount_ = 0;
  longest_ = 0;
  endResetModel();
}

QString CoefListModel::LineText(int row) const {
  if (row < 0) return {};
  int first = 0;
  for (const Segment& segment : segments_) {
    if (row < first + segment.rows) {
      if (!segment.isListing) return segment.text;
      try {
        return QString::fromStdString(ListingLine(model_, row - first));
      } catch (const std::out_of_range&) {
        return {};
      }
    }
    first += segment.rows;
  }
  return {};
}

int CoefListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rowCount_;
}

QVariant CoefListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return LineText(index.row());
  if (role == Qt::SizeHintRole && cell_.isValid()) {
    return QSize(cell_.width() * (longest_ + 1), cell_.height());
  }
  return {};
}

void CoefListModel::SetCharacterCell(QSize cell) { cell_ = cell; }

}  // namespace quon
