// Re-saving the open AVI stream: the save dialog, the compressor choice and
// the re-encoding with a progress dialog.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>

#include "avi/avi_compressor_dialog.h"
#include "avi/avi_player.h"
#include "platform/ui_port.h"
#include "video/avi_reencode.h"

namespace {

QString run_save_dialog(QWidget* parent, const QString& folder, const QString& name) {
    QFileDialog dialog(parent, avi_player::tr("保存 save"));
    dialog.setObjectName("save_file_dialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(avi_player::tr("AVI파일  (avi) (*.avi)"));
    dialog.setDefaultSuffix("avi");
    dialog.setDirectory(folder);
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool run_compressor_dialog(QWidget* parent, const std::vector<uint8_t>& frame, uint32_t rate,
                           uint32_t scale, mevra::avi_encode_options& options) {
    avi_compressor_dialog dialog(parent, frame, rate, scale);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.options();
    return true;
}

}  // namespace

void avi_player::save_command() {
    // The worker reads the stream while playing; saving reads it too.
    if (play_mode() == 1) {
        mevra::show_message(mevra::avi_text::save_while_playing(), mevra::avi_text::save_caption());
        return;
    }
    if (!image_ || !reader_.is_open()) {
        mevra::show_message(mevra::avi_text::nothing_to_save(), mevra::avi_text::save_caption());
        return;
    }
    const QFileInfo source(avi_filename_);
    const QString folder = source.absolutePath();
    const QString name = source.completeBaseName();
    const QString path =
        ask_save_path ? ask_save_path(folder, name) : run_save_dialog(this, folder, name);
    if (path.isEmpty()) return;
    save_avi(path);
}

void avi_player::save_avi(const QString& path) {
    if (play_mode() == 1 || !reader_.is_open()) return;
    mevra::avi_encode_options options;
    // Uncompressed output keeps the source's pixel layout (and an 8-bit
    // stream's palette) unless the dialog says otherwise.
    const int bits = [this] {
        const auto reader = hold_reader();
        return reader_.last_bit_count();
    }();
    options.raw_bits = bits == 8 || bits == 16 || bits == 32 ? bits : 24;
    const uint32_t rate = shared_.rate.load();
    const uint32_t scale = shared_.scale.load();
    const bool chosen = ask_compressor ? ask_compressor(dib_, rate, scale, options)
                                       : run_compressor_dialog(this, dib_, rate, scale, options);
    if (!chosen) return;

    const int length = frame_length();
    QProgressDialog progress(tr("AVIを保存しています"), tr("キャンセル"), 0, length, this);
    progress.setObjectName("aviSaveProgress");
    progress.setWindowTitle(QString::fromStdString(mevra::avi_text::save_caption()));
    // Modal for the whole main window: nothing may start playback while the
    // stream is being read for the save.
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    mevra::avi_failure failure;
    int result = mevra::avi_save_failed;
    {
        // The progress dialog keeps the player's controls and drops away, so
        // nothing on this thread asks for the reader until the save is done.
        const auto reader = hold_reader();
        result = mevra::reencode_avi(
            reader_, path.toStdString(), options,
            [&progress](int done, int) {
                progress.setValue(done);
                QApplication::processEvents();
                return !progress.wasCanceled();
            },
            failure);
    }
    progress.reset();
    if (result == mevra::avi_save_failed) mevra::report_avi_failure(failure);
}
