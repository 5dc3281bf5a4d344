#pragma once
// The player's view (`panel1`): shows the frames, takes dropped files and
// carries the context menu with the save and close commands.
#include <QWidget>

class aviwindow;
class QMenu;

class avi_frame_panel : public QWidget {
    Q_OBJECT
  public:
    avi_frame_panel(aviwindow* owner, QWidget* parent);

    QMenu* context_menu() const { return menu_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    aviwindow* owner_;
    QMenu* menu_;
};
