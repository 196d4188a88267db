// The About box: program name, release label with the executable's file
// version, a one-line description, copyright and contact lines.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "fileversion.h"

class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    using VersionReader = std::function<bool(const std::string& path, std::string& out)>;

    explicit AboutBox(QWidget* parent, VersionReader readVersion = GetFileVersionString);

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
    VersionReader readVersion_;
};
