// Suggest terms: the dialog that searches for numbers of terms, and the way its counts
// come back into the per-variable fields.
#include "gui/frm_suggest_terms.h"
#include "gui/main_window/frm_quon.h"
#include "gui/main_window/problem_entry.h"

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
  entry_->ApplyTermCounts(counts);
}

}  // namespace quon
