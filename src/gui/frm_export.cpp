#include "gui/frm_export.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/eval/accuracy_check.h"
#include "core/eval/script_point_function.h"
#include "core/export/export_format.h"
#include "core/io/spec_file.h"
#include "core/model/names_in_use.h"
#include "core/model/user_constants.h"
#include "gui/command_guard.h"

namespace quon {
namespace {

constexpr ExportFormat kFormats[] = {ExportFormat::C, ExportFormat::Python, ExportFormat::Fortran,
                                     ExportFormat::Csv, ExportFormat::Json};

std::vector<std::string> Constants(const ProblemModel& model) {
  return {model.Constants.begin(),
          model.Constants.begin() + std::clamp(model.ConstCount, 0, MaxConstants)};
}

// The check the main window shows under the results, for the export's header; none when
// the function cannot be checked.
std::optional<AccuracyResult> Check(const ProblemModel& model, ScriptEnvironment& engine) {
  try {
    SetConstants(Constants(model), engine);
    const std::vector<std::string> names = NamesInUse(model);
    ScriptPointFunctionSource source(engine, model.Equation, names);
    return CheckAccuracy(model, source);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

frmExport::frmExport(const ProblemModel& model, ScriptEnvironment& engine, CommonDialog* dialogs,
                     QWidget* parent)
    : QDialog(parent), model_(model), engine_(engine), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmExport"));
  setWindowTitle(QStringLiteral("Export"));
  CreateControls();
  LayOutWindow();
  ConnectHandlers();
  cboFormat_Change();
}

void frmExport::CreateControls() {
  cboFormat = new QComboBox(this);
  cboFormat->setObjectName(QStringLiteral("cboFormat"));
  cboFormat->addItems({QStringLiteral("C function"), QStringLiteral("Python function (NumPy)"),
                       QStringLiteral("Fortran 90 module"),
                       QStringLiteral("CSV table of coefficients"),
                       QStringLiteral("JSON document of the problem")});
  txtName = new QLineEdit(QString::fromUtf8(DefaultFunctionName), this);
  txtName->setObjectName(QStringLiteral("txtName"));
  txtFile = new QLineEdit(this);
  txtFile->setObjectName(QStringLiteral("txtFile"));
  cmdBrowse = new QPushButton(QStringLiteral("Browse..."), this);
  cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
  cmdBrowse->setEnabled(dialogs_ != nullptr);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setWordWrap(true);
  cmdExport = new QPushButton(QStringLiteral("Export"), this);
  cmdExport->setObjectName(QStringLiteral("cmdExport"));
  cmdExport->setDefault(true);
  cmdClose = new QPushButton(QStringLiteral("Close"), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  if (!model_.HaveResults) {
    cmdExport->setEnabled(false);
    lblStatus->setText(QStringLiteral("There are no results to export: compute the fit first."));
  }
}

void frmExport::LayOutWindow() {
  auto* file = new QHBoxLayout;
  file->addWidget(txtFile, 1);
  file->addWidget(cmdBrowse);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Format:"), cboFormat);
  form->addRow(QStringLiteral("Function &name:"), txtName);
  form->addRow(QStringLiteral("F&ile:"), file);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdExport);
  buttons->addWidget(cmdClose);
  auto* window = new QVBoxLayout(this);
  window->addLayout(form);
  window->addWidget(lblStatus);
  window->addStretch(1);
  window->addLayout(buttons);
  setMinimumWidth(460);
}

void frmExport::ConnectHandlers() {
  connect(cboFormat, &QComboBox::currentIndexChanged, this, &frmExport::cboFormat_Change);
  connect(cmdBrowse, &QPushButton::clicked, this, &frmExport::cmdBrowse_Click);
  connect(cmdExport, &QPushButton::clicked, this, &frmExport::cmdExport_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmExport::cboFormat_Change() {
  const ExportFormat format = kFormats[std::clamp(cboFormat->currentIndex(), 0, 4)];
  // Only the sources define a function.
  txtName->setEnabled(format == ExportFormat::C || format == ExportFormat::Python ||
                      format == ExportFormat::Fortran);
  // The file name follows the format's usual extension while it ends in another one.
  const QString file = txtFile->text();
  for (ExportFormat other : kFormats) {
    const QString extension = QString::fromUtf8(ExportExtension(other));
    if (file.endsWith(extension)) {
      txtFile->setText(file.left(file.size() - extension.size()) +
                       QString::fromUtf8(ExportExtension(format)));
      break;
    }
  }
}

void frmExport::cmdBrowse_Click() {
  dialogs_->ShowSave();
  const std::string path = dialogs_->FileName();
  if (!path.empty()) txtFile->setText(QString::fromStdString(path));
}

void frmExport::cmdExport_Click() {
  const ExportFormat format = kFormats[std::clamp(cboFormat->currentIndex(), 0, 4)];
  const std::string path = txtFile->text().trimmed().toStdString();
  if (path.empty()) {
    lblStatus->setText(QStringLiteral("Name the file to write first."));
    return;
  }
  ExportInfo info;
  info.FunctionName = txtName->text().trimmed().toStdString();
  info.Constants = Constants(model_);
  if (format != ExportFormat::Csv) info.Accuracy = Check(model_, engine_);
  try {
    WriteExport(path, format, model_, info);
    lblStatus->setText(QStringLiteral("Written to %1.").arg(QString::fromStdString(path)));
  } catch (const ExportError& e) {
    lblStatus->setText(QString::fromStdString(e.what()));
  } catch (const SpecFileError& e) {
    lblStatus->setText(QString::fromStdString(e.what()));
  } catch (const std::exception& e) {  // memory running out on a large fit
    lblStatus->setText(QString::fromStdString(CommandFailureMessage("export the fit", e)));
  }
}

}  // namespace quon
