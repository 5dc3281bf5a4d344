#pragma once
// The batch dialog: a list of files (filled by dropping them on it), one
// operation, an output format and folder, and a run that converts every file
// through the core's batch engine, the same loop mevra-cli drives.
#include <QDialog>
#include <QStringList>

#include "batch/batch_engine.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class reduction_options_dialog;
class trim_dialog;

class batch_dialog : public QDialog {
    Q_OBJECT
  public:
    explicit batch_dialog(QWidget* parent = nullptr);
    ~batch_dialog() override;

    // The two option dialogs opened at the start of a run; the main window
    // hands them over. Without them a run uses the settings as they are.
    reduction_options_dialog* reduction_options = nullptr;
    trim_dialog* trim_options = nullptr;

    // The five batch settings into the controls and back (the main window
    // does this around each showing).
    void settings_to_controls(const mevra::clgbase& clg);
    void controls_to_settings(mevra::clgbase& clg) const;

    // One run over the list (the start button).
    mevra::batch_summary batch_start();
    // Appends each path that names an existing file; folders and missing
    // files are skipped without a message.
    void image_files_open(const QStringList& paths);
    // The list from batch.lst: 0 when read, -1 when there is none.
    int load_listfile();
    // The list into batch.lst, or batch.lst deleted for an empty list.
    void save_listfile();

    // --- controls ---
    QListWidget* file_list;
    QComboBox* operation_combo;             // operation 0..16
    QComboBox* format_combo;                // format 0..6
    QCheckBox* use_output_folder_check;     // use the output folder
    QLineEdit* output_folder_edit;          // the output folder
    QLabel* output_folder_label = nullptr;  // its label, which the box starts after
    QPushButton* button_browse;
    QCheckBox* confirm_overwrite_check;  // confirm overwriting
    QCheckBox* shared_palette_check = nullptr;  // reduction: one palette for all files
    QPushButton* button_delete;
    QPushButton* button_clear;
    QPushButton* button_save_list;
    QPushButton* button_start;
    QPushButton* button_stop;
    QPushButton* button_close;
    QProgressBar* progress_bar;

    int list_change_flg = 0;
    // The engine of the run; its stop() is the stop button's cancel_flg.
    mevra::batch_engine engine;

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class host;
    void build_controls();
    void delete_one();
    void place_run_buttons();

    bool close_after_run_ = false;
};
