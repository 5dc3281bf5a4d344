#pragma once
// The list-view dialog: lists the files directly inside two folders, side by
// side. It only lists; nothing is opened, compared or changed. Created once by
// the main window and shown or hidden; closing it hides it.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;
class QPushButton;
class QScrollArea;

class list_view_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit list_view_dialog(QWidget* parent = nullptr);

    // Reads folder n (1 or 2) from its path box: the files directly inside
    // it, or none when the text names no existing folder.
    void check_update(int n);
    // The folder chooser for path box n; on OK reads that folder. Repaints.
    void change_tree(int n);
    // Sizes and repaints the list surface.
    void view_paint();

    // Folder n as last read (empty: none) and its files as full paths
    // (none until read, or when the folder does not exist). The settings file
    // restores the folders before the dialog is shown.
    QString f1_dir, f2_dir;
    std::optional<QStringList> f1_files, f2_files;

    QLineEdit* folder1_edit;
    QLineEdit* folder2_edit;
    QPushButton* change_folder1_button;  // パス変更１
    QPushButton* refresh1_button;        // 更新１
    QPushButton* change_folder2_button;  // パス変更２
    QPushButton* refresh2_button;        // 更新２
    QWidget* list_panel;                 // the list surface
    QScrollArea* scroll;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
