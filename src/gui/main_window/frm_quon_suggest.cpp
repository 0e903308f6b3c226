// Suggest terms: the dialog that searches for numbers of terms, and the way its counts
// come back into the per-variable fields.
#include <QLineEdit>

#include "frm_suggest_terms.h"
#include "main_window/frm_quon.h"

namespace quon {

void frmQuon::cmdSuggestTerms_Click() {
  if (suggestTerms_ == nullptr) {
    suggestTerms_ = new frmSuggestTerms(
        model_, *engine_, [this] { return ReadEntryFields(); },
        [this](const std::vector<std::string>& counts) { ApplyTermCounts(counts); }, this);
    suggestTerms_->setAttribute(Qt::WA_DeleteOnClose);
  }
  suggestTerms_->show();
  suggestTerms_->raise();
  suggestTerms_->activateWindow();
}

void frmQuon::ApplyTermCounts(const std::vector<std::string>& counts) {
  for (std::size_t k = 0; k < counts.size() && k < txtTerms.size(); ++k) {
    const int index = static_cast<int>(k);
    if (index > model_.LastVar) break;
    txtTerms[k]->setText(QString::fromStdString(counts[k]));
    // The check a typed count meets when the focus leaves the field: a refused count keeps
    // the user in its field.
    bool Cancel = false;
    txtTerms_Validate(index, Cancel);
    if (Cancel) {
      model_.CurVar = index + 1;
      EditLimit(index);
      txtTerms[k]->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

}  // namespace quon
