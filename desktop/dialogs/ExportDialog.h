#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "core/project/ExportRequest.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zv {

// The export of a project's results: a choice among the export formats and
// the folder to write into. It only asks; the caller exports.
class ExportDialog : public QDialog {
    Q_OBJECT

  public:
    // The folder box starts with `startFolder`.
    ExportDialog(QWidget* owner, const std::string& startFolder);

    // Shows the dialog modally over `owner`: the choice confirmed with the
    // export button, or nothing when the user cancelled.
    static std::optional<ExportRequest> Ask(QWidget* owner, const std::string& startFolder);

    // The format checked and the folder typed or chosen.
    ExportRequest Request() const;

  private:
    // "参照(&B)...": the folder dialog, starting where the folder box points.
    void ChooseFolder();
    // The export button works only with a folder it can take.
    void EnableExport();

    QGroupBox* formatsBox_ = nullptr;
    // One for each format, in the order of ExportFormatChoices.
    std::vector<QRadioButton*> formatOptions_;
    QLabel* folderLabel_ = nullptr;
    QLineEdit* folderBox_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace zv
