#pragma once
// The save dialog shared by the image window and the batch dialog: the
// program's file types, one of them chosen, and the chosen type's extension
// added to a name typed without one.
class QFileDialog;

// Sets up `dialog` for saving an image with file-type entry `entry` (the
// format code, 0 to 6) preselected; the extension follows the type the user
// picks afterwards.
void prepare_image_save_dialog(QFileDialog& dialog, int entry);
