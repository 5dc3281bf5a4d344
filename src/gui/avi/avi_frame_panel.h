#pragma once
// The player's view (`frame_panel`): shows the frames, takes dropped files and
// carries the context menu with the save and close commands. It knows
// nothing of the player: it asks for its picture and reports the user's
// requests through signals.
#include <QStringList>
#include <QWidget>

class QMenu;
class QPainter;

class avi_frame_panel : public QWidget {
    Q_OBJECT
  public:
    explicit avi_frame_panel(QWidget* parent);

    QMenu* context_menu() const { return menu_; }

  signals:
    // Emitted from the paint event: draw the whole view (width × height)
    // with `painter` before returning.
    void paint_requested(QPainter* painter, int width, int height);
    // Files dropped on the view, in their order.
    void files_dropped(const QStringList& paths);
    // The context menu's "AVIを保存" and "閉じる".
    void save_requested();
    void close_requested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QMenu* menu_;
};
