// The About box: program name, release label with the executable's file
// version, a one-line description, copyright and contact lines.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "fileversion.h"

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    using VersionReader = std::function<bool(const std::string& path, std::string& out)>;

    explicit TAboutBox(QWidget* parent, VersionReader readVersion = GetFileVersionString);

    // Rewrites the version label from the running program's file version;
    // without one the label keeps its text.
    void updateVersion();
    void OKButtonClick();

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QLabel* URL = nullptr;
    QPushButton* OKButton = nullptr;

  private:
    VersionReader readVersion_;
};
