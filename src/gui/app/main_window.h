#pragma once
// The main window: the multiple-document frame that owns every other window
// and dialog for the whole run and routes the menu commands to the active
// image window (image_window::lastActive).
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPainter;
class QPrinter;
class QPageSetupDialog;
class QPrintPreviewDialog;
class palette_window;
class reduction_options_dialog;
class trim_dialog;
class environment_options_dialog;
class about_dialog;
class batch_dialog;
class list_view_dialog;
class avi_player;
namespace mevra::gui {
struct layout_windows;
}

class main_window : public QMainWindow {
    Q_OBJECT
  public:
    explicit main_window(QWidget* parent = nullptr);
    ~main_window() override;

    QMdiArea* mdi_area() const { return mdi_area_; }

    // Opens one image in a new image window; an empty path reads the clipboard.
    void file_open_new_window(const QString& path);
    // Opens every path that names an existing file, in order, recording each
    // in the recent files; other entries are skipped without a message.
    void image_files_open(const QStringList& paths);
    void set_image_last_open(const QString& path);

    // The settings file. Reading and writing it belongs to the settings-file
    // layer; these are the points where the main window does it.
    void load_ini_file();
    void save_ini_file();

    // Draws the active image stretched into the page's margin rectangle
    // `target` of `painter`; false when there is no active image.
    bool draw_print_page(QPainter& painter, const QRectF& target);

    // --- owned windows and dialogs ---
    palette_window* palette_panel = nullptr;
    avi_player* player = nullptr;
    reduction_options_dialog* reduction_options = nullptr;
    trim_dialog* trim_options = nullptr;
    environment_options_dialog* environment_options = nullptr;
    about_dialog* about_box = nullptr;
    batch_dialog* batch_window = nullptr;
    list_view_dialog* list_view = nullptr;
    QLabel* status_label = nullptr;

    // Folder where print-to-file output goes when no printer is installed.
    QString print_to_file_path;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Menus (main_window_menus.cpp).
    void build_menus();
    QAction* add_item(QMenu* menu, const char* name, const QString& text,
                      const QKeySequence& shortcut = {}, const QString& tip = {});
    void file_menu_opened();
    void view_menu_opened();
    void convert_menu_opened();

    // Commands (main_window_commands.cpp).
    void connect_commands();
    void cmd_open();
    void cmd_open_clipboard();
    void cmd_reload();
    void cmd_close_image();
    void cmd_save(int mode);
    void cmd_environment_options();
    void cmd_batch();
    void cmd_undo(bool redo);
    void cmd_copy();
    void cmd_grid();
    void cmd_zoom(int direction);
    void cmd_toggle_palette();
    void cmd_toggle_avi();
    // Repaints the AVI player when no image window is active, unless it plays.
    void repaint_avi_unless_playing();
    void cmd_reduce();
    void cmd_reduction_options();
    void cmd_rotate(int code);
    void cmd_color(int code);
    void cmd_to_argb();
    void cmd_resize(int mode);
    void cmd_about();
    void open_recent(const QString& path);

    // Printing (main_window_print.cpp).
    void cmd_print();
    void cmd_print_preview();

    // The option dialogs; each returns QDialog::Accepted or Rejected.
    int open_reduction_options_dialog();
    int open_trim_dialog(int mode);
    int open_environment_dialog();

    // The windows whose placement the settings file keeps; a window not
    // built yet is null and simply left out.
    mevra::gui::layout_windows placed_windows();

    QMdiArea* mdi_area_ = nullptr;
    bool exit_confirmed_ = false;
    bool subwindows_checked_ = false;

    // The list-view dialog's two folders as read from the settings file,
    // written back unchanged at exit while no list-view dialog holds them.
    QString ini_listview_path1_, ini_listview_path2_;
};
