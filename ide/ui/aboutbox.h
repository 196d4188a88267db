// The About box: program name, release label with the executable's file
// version, a one-line description, copyright and contact lines.
#pragma once

#include <QDialog>

class FileVersionReader;
class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    AboutBox(const FileVersionReader& versions, QWidget* parent);

    // Rewrites the version label from the running program's file version;
    // without one the label keeps its text.
    void updateVersion();
    void confirm();

    QLabel* iconLabel = nullptr;
    QLabel* productNameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* copyrightLabel = nullptr;
    QLabel* descriptionLabel = nullptr;
    QLabel* contactLabel = nullptr;
    QPushButton* okButton = nullptr;

  private:
    const FileVersionReader& versions_;
};
