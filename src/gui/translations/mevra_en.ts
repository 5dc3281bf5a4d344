<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>about_dialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>About MEVRA</translation>
    </message>
    <message>
        <source>このソフトのバージョンは %1 です</source>
        <translation>This is MEVRA version %1</translation>
    </message>
    <message>
        <source>このアプリに関するご意見・お問合せ</source>
        <translation>Comments and questions about this application</translation>
    </message>
    <message>
        <source>サポートメール</source>
        <translation>E-mail support</translation>
    </message>
    <message>
        <source>サポートページから最新ソフトウェアをチェック</source>
        <translation>Check the support page for the latest version</translation>
    </message>
    <message>
        <source>WEB サイト</source>
        <translation>Web site</translation>
    </message>
    <message>
        <source>リンク先が見つかりませんでした。</source>
        <translation>The link target could not be found.</translation>
    </message>
    <message>
        <source>メールを作成できませんでした。</source>
        <translation>The e-mail could not be written.</translation>
    </message>
    <message>
        <source>このソフトはフリーソフトウェアです。GNU一般公衆利用許諾書 バージョン3以降 (GPL-3.0-or-later) の下で再配布・改変できます。</source>
        <translation>MEVRA is free software: you may redistribute and modify it under the GNU General Public License, version 3 or later (GPL-3.0-or-later).</translation>
    </message>
</context>
<context>
    <name>avi</name>
    <message>
        <source>파일  を開くことができませんでした</source>
        <translation>The file could not be opened</translation>
    </message>
    <message>
        <source>フレーム%1</source>
        <translation>Frame %1</translation>
    </message>
    <message>
        <source>再生中は閉じることが出来ません</source>
        <translation>The AVI cannot be closed while it is playing.</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>AVI保存</source>
        <translation>Save AVI</translation>
    </message>
    <message>
        <source>保存するAVIが読み込まれていません</source>
        <translation>No AVI is loaded to save.</translation>
    </message>
    <message>
        <source>再生中は保存できません</source>
        <translation>The AVI cannot be saved while it is playing.</translation>
    </message>
</context>
<context>
    <name>avi_compressor_dialog</name>
    <message>
        <source>ビデオの圧縮</source>
        <translation>Video compression</translation>
    </message>
    <message>
        <source>キーフレーム</source>
        <translation>Key frame every</translation>
    </message>
    <message>
        <source> フレームごと</source>
        <translation> frames</translation>
    </message>
    <message>
        <source>データレート</source>
        <translation>Data rate</translation>
    </message>
    <message>
        <source> kbit/秒</source>
        <translation> kbit/s</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>圧縮プログラム:</source>
        <translation>Compressor:</translation>
    </message>
    <message>
        <source>圧縮の品質:</source>
        <translation>Compression quality:</translation>
    </message>
    <message>
        <source>プレビューを表示できません</source>
        <translation>The preview cannot be shown</translation>
    </message>
    <message>
        <source>%1 バイト / フレーム</source>
        <translation>%1 bytes / frame</translation>
    </message>
</context>
<context>
    <name>avi_frame_panel</name>
    <message>
        <source>AVIを保存</source>
        <translation>Save AVI…</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>avi_player</name>
    <message>
        <source>표시フレーム</source>
        <translation>Current frame</translation>
    </message>
    <message>
        <source>保存 save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>AVI파일  (avi) (*.avi)</source>
        <translation>AVI files (*.avi)</translation>
    </message>
    <message>
        <source>AVIを保存しています</source>
        <translation>Saving the AVI…</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>move first frame</source>
        <translation>First frame</translation>
    </message>
    <message>
        <source>back 1 frame</source>
        <translation>Previous frame</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>forward 1 frame</source>
        <translation>Next frame</translation>
    </message>
    <message>
        <source>move end frame</source>
        <translation>Last frame</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>now / length</source>
        <translation>Current frame / number of frames</translation>
    </message>
</context>
<context>
    <name>batch</name>
    <message>
        <source>同じ名前の파일  があります。上書きしますか？
Yes:上書き  No:別名で保存  Cancel:保存しない</source>
        <translation>A file of the same name exists. Overwrite it?
Yes: overwrite. No: save under another name. Cancel: do not save.</translation>
    </message>
    <message>
        <source>上書き確認</source>
        <translation>Confirm overwrite</translation>
    </message>
    <message>
        <source>出力フォルダ : %1
が存在しません。入力し直して下さい。</source>
        <translation>The output folder %1
does not exist. Please enter an existing folder.</translation>
    </message>
    <message>
        <source>設定エラー</source>
        <translation>Settings error</translation>
    </message>
    <message>
        <source>変換する画像を選んでください</source>
        <translation>Please select an image to convert.</translation>
    </message>
    <message>
        <source>변환</source>
        <translation>Convert</translation>
    </message>
</context>
<context>
    <name>batch_dialog</name>
    <message>
        <source>イメージ保存</source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>변환する파일  をドロップしてください</source>
        <translation>Drop the files to convert here</translation>
    </message>
    <message>
        <source>변환の種類</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>변환後の파일  フォーマットを選択します</source>
        <translation>The file format of the converted files</translation>
    </message>
    <message>
        <source>파일  の上書き確認をする</source>
        <translation>Confirm overwriting files</translation>
    </message>
    <message>
        <source>チェックを外すと保存先に同名파일  があっても確認しません</source>
        <translation>When unchecked, a file of the same name is replaced without asking</translation>
    </message>
    <message>
        <source>出力フォルダを指定する</source>
        <translation>Save into an output folder</translation>
    </message>
    <message>
        <source>チェックをはずすと변환元파일  と同じフォルダに保存します。</source>
        <translation>When unchecked, each result is saved in the folder of its source file.</translation>
    </message>
    <message>
        <source>出力フォルダ</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>１つ削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>全てクリア</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>リストを保存</source>
        <translation>Save list</translation>
    </message>
    <message>
        <source>변환파일  の</source>
        <translation>Saves the list of files to convert</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>변환を開始</source>
        <translation>Start converting</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>변환を途中で中断する</source>
        <translation>Stop converting after the current file</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>변환状況をグラフで표시</source>
        <translation>The progress of the conversion</translation>
    </message>
    <message>
        <source>파일  リストを保存しますか？</source>
        <translation>Save the file list?</translation>
    </message>
    <message>
        <source>リスト保存</source>
        <translation>Save list</translation>
    </message>
    <message>
        <source>모든 파일에 하나의 팔레트</source>
        <translation>One palette for all files</translation>
    </message>
    <message>
        <source>감색할 때 모든 파일의 색을 함께 세어 하나의 팔레트를 만들고 모든 파일에 씁니다</source>
        <translation>When reducing, count the colours of all files together, build one palette and use it for every file</translation>
    </message>
</context>
<context>
    <name>batch_operation</name>
    <message>
        <source>何もしない（保存のみ）</source>
        <translation>Nothing (save only)</translation>
    </message>
    <message>
        <source>감색</source>
        <translation>Colour reduction</translation>
    </message>
    <message>
        <source>사이즈변경</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>拡大縮小</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>우로 90°회전 </source>
        <translation>Rotate 90° right</translation>
    </message>
    <message>
        <source>좌로 90°회전 </source>
        <translation>Rotate 90° left</translation>
    </message>
    <message>
        <source>상하 180°반전</source>
        <translation>Flip vertically</translation>
    </message>
    <message>
        <source>좌우 180°반전</source>
        <translation>Flip horizontally</translation>
    </message>
    <message>
        <source>ARGB 포맷으로 변환 </source>
        <translation>Convert to ARGB</translation>
    </message>
    <message>
        <source>휘도를 알파에 기입  </source>
        <translation>Write luminance into alpha</translation>
    </message>
    <message>
        <source>알파를 모두 1로 함</source>
        <translation>Make all alpha opaque</translation>
    </message>
    <message>
        <source>빼는색의알파를 0으로 함</source>
        <translation>Set the key colour&apos;s alpha to 0</translation>
    </message>
    <message>
        <source>모노크롬</source>
        <translation>Monochrome</translation>
    </message>
    <message>
        <source>반전</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>알파 0부에 불투명경계 색상 취득</source>
        <translation>Fill alpha-0 areas with the opaque edge colours</translation>
    </message>
    <message>
        <source>[투과대상색]을 백 컬러로 한다</source>
        <translation>Turn [transparent colours] into the background colour</translation>
    </message>
    <message>
        <source>[투과대상색]을 1팔레트로 이동</source>
        <translation>Move [transparent colour] to the first palette entry</translation>
    </message>
</context>
<context>
    <name>environment_options_dialog</name>
    <message>
        <source>&#x3000;２ドットＸ&#x3000;&#x3000;８ドット</source>
        <translation>2 × 8 dots</translation>
    </message>
    <message>
        <source>&#x3000;２ドットＸ&#x3000;１０ドット</source>
        <translation>2 × 10 dots</translation>
    </message>
    <message>
        <source>&#x3000;２ドットＸ&#x3000;１２ドット</source>
        <translation>2 × 12 dots</translation>
    </message>
    <message>
        <source>&#x3000;４ドットＸ&#x3000;１６ドット</source>
        <translation>4 × 16 dots</translation>
    </message>
    <message>
        <source>&#x3000;４ドットＸ&#x3000;２４ドット</source>
        <translation>4 × 24 dots</translation>
    </message>
    <message>
        <source>&#x3000;８ドットＸ&#x3000;４０ドット</source>
        <translation>8 × 40 dots</translation>
    </message>
    <message>
        <source>１２ドットＸ&#x3000;４８ドット</source>
        <translation>12 × 48 dots</translation>
    </message>
    <message>
        <source>１６ドットＸ&#x3000;６４ドット</source>
        <translation>16 × 64 dots</translation>
    </message>
    <message>
        <source>３０ドットＸ１２０ドット</source>
        <translation>30 × 120 dots</translation>
    </message>
    <message>
        <source>４０ドットＸ１６０ドット</source>
        <translation>40 × 160 dots</translation>
    </message>
    <message>
        <source>환경설정</source>
        <translation>Environment options</translation>
    </message>
    <message>
        <source>１０進( 0 - 255 )</source>
        <translation>Decimal (0 - 255)</translation>
    </message>
    <message>
        <source>１６進( 0 - FF )</source>
        <translation>Hexadecimal (0 - FF)</translation>
    </message>
    <message>
        <source>チェック ( 紺 )</source>
        <translation>Checks (navy)</translation>
    </message>
    <message>
        <source>ひし形 ( 緑 )</source>
        <translation>Diamonds (green)</translation>
    </message>
    <message>
        <source>ピラミッド ( 黄 )</source>
        <translation>Pyramids (yellow)</translation>
    </message>
    <message>
        <source>セメント ( グレイ )</source>
        <translation>Cement (grey)</translation>
    </message>
    <message>
        <source>ロゴ ( グレイ )</source>
        <translation>Logo (grey)</translation>
    </message>
    <message>
        <source>Write mipmaps</source>
        <translation>Write mipmaps</translation>
    </message>
    <message>
        <source>Write DDS mipmaps</source>
        <translation>Write DDS mipmaps</translation>
    </message>
    <message>
        <source>DDS files get every smaller level down to 1 x 1, filtered in linear light</source>
        <translation>DDS files get every smaller level down to 1 x 1, filtered in linear light</translation>
    </message>
    <message>
        <source>抜き色を[透過対象色]とする</source>
        <translation>The key colour is a [transparent colour]</translation>
    </message>
    <message>
        <source>アルファ値が0の色を[透過対象色]とする</source>
        <translation>Colours with alpha 0 are [transparent colours]</translation>
    </message>
    <message>
        <source>パレットの最初の色を[透過対象色]とする</source>
        <translation>The first palette colour is a [transparent colour]</translation>
    </message>
    <message>
        <source>없음</source>
        <translation>None</translation>
    </message>
    <message>
        <source>アンダースコア ( _ )</source>
        <translation>Underscore (_)</translation>
    </message>
    <message>
        <source>ハイフン ( - )</source>
        <translation>Hyphen (-)</translation>
    </message>
    <message>
        <source>4桁</source>
        <translation>4 digits</translation>
    </message>
    <message>
        <source>5桁</source>
        <translation>5 digits</translation>
    </message>
    <message>
        <source>6桁</source>
        <translation>6 digits</translation>
    </message>
    <message>
        <source>7桁</source>
        <translation>7 digits</translation>
    </message>
    <message>
        <source>8桁</source>
        <translation>8 digits</translation>
    </message>
    <message>
        <source>グリッド幅( 細 x 太 )</source>
        <translation>Grid spacing (fine × bold)</translation>
    </message>
    <message>
        <source>カラー数値単位( 10進 16進 )</source>
        <translation>Colour values (decimal, hexadecimal)</translation>
    </message>
    <message>
        <source>マウスカーソルズームサイズ</source>
        <translation>Cursor magnifier zoom</translation>
    </message>
    <message>
        <source>壁紙タイプ</source>
        <translation>Background pattern</translation>
    </message>
    <message>
        <source>JPEG圧縮率(%) [ 10 - 100 ]</source>
        <translation>JPEG quality (%) [ 10 - 100 ]</translation>
    </message>
    <message>
        <source>DDS保存タイプ</source>
        <translation>DDS save format</translation>
    </message>
    <message>
        <source>抜き色 ( 0 - 255 )</source>
        <translation>Key colour (0 - 255)</translation>
    </message>
    <message>
        <source>バックカラー ( 0 - 255 )</source>
        <translation>Background colour (0 - 255)</translation>
    </message>
    <message>
        <source>AVI連番桁設定</source>
        <translation>AVI frame file names</translation>
    </message>
    <message>
        <source>つなぎ記号</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>桁数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>Extension</translation>
    </message>
    <message>
        <source>ファイル名 例 %1</source>
        <translation>File name e.g. %1</translation>
    </message>
</context>
<context>
    <name>file</name>
    <message>
        <source>ファイルの保存に失敗しました。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ファイルの幅と高さを４の倍数にして下さい。</source>
        <translation>Please make the width and height of the image multiples of 4.</translation>
    </message>
    <message>
        <source>画像を開くことが出来ませんでした</source>
        <translation>The image could not be opened</translation>
    </message>
</context>
<context>
    <name>image_save_filters</name>
    <message>
        <source>ビットマップファイル(bmp) (*.bmp)</source>
        <translation>Bitmap files (*.bmp)</translation>
    </message>
    <message>
        <source>JPEGファイル(jpg) (*.jpg)</source>
        <translation>JPEG files (*.jpg)</translation>
    </message>
    <message>
        <source>PNGファイル(png) (*.png)</source>
        <translation>PNG files (*.png)</translation>
    </message>
    <message>
        <source>TIFFファイル(tif) (*.tif)</source>
        <translation>TIFF files (*.tif)</translation>
    </message>
    <message>
        <source>GIFファイル(gif) (*.gif)</source>
        <translation>GIF files (*.gif)</translation>
    </message>
    <message>
        <source>Targaファイル(tga) (*.tga)</source>
        <translation>Targa files (*.tga)</translation>
    </message>
    <message>
        <source>DDSファイル(dds) (*.dds)</source>
        <translation>DDS files (*.dds)</translation>
    </message>
</context>
<context>
    <name>image_window</name>
    <message>
        <source>닫기 전에 수정 사항을 저장합니까?  </source>
        <translation>Save the changes before closing?</translation>
    </message>
    <message>
        <source>저장 </source>
        <translation>Save</translation>
    </message>
    <message>
        <source>イメージ保存</source>
        <translation>Save image</translation>
    </message>
</context>
<context>
    <name>list_view_dialog</name>
    <message>
        <source>リストビュー</source>
        <translation>List view</translation>
    </message>
    <message>
        <source>パス変更１</source>
        <translation>Path 1…</translation>
    </message>
    <message>
        <source>更新１</source>
        <translation>Update 1</translation>
    </message>
    <message>
        <source>パス変更２</source>
        <translation>Path 2…</translation>
    </message>
    <message>
        <source>更新２</source>
        <translation>Update 2</translation>
    </message>
</context>
<context>
    <name>main_window</name>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>어플리케이션을 종료합니까?  </source>
        <translation>Exit the application?</translation>
    </message>
    <message>
        <source>종료확인</source>
        <translation>Confirm exit</translation>
    </message>
    <message>
        <source>変換する画像を選んでください</source>
        <translation>Please select an image to convert.</translation>
    </message>
    <message>
        <source>변환</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>이미지 열기 </source>
        <translation>Open image…</translation>
    </message>
    <message>
        <source>全てのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>読み直す画像を選んでください</source>
        <translation>Please select an image to reload.</translation>
    </message>
    <message>
        <source>ファイルの読み直し</source>
        <translation>Reload file</translation>
    </message>
    <message>
        <source>減色する画像を選んでください</source>
        <translation>Please select an image to reduce.</translation>
    </message>
    <message>
        <source>開いたファイルに問題があり変換できません</source>
        <translation>The opened file has a problem and cannot be converted.</translation>
    </message>
    <message>
        <source>サイズ変更する画像を選んでください</source>
        <translation>Please select an image to resize.</translation>
    </message>
    <message>
        <source>拡大、縮小する画像を選んでください</source>
        <translation>Please select an image to scale.</translation>
    </message>
    <message>
        <source>トリミング</source>
        <translation>Trimming</translation>
    </message>
    <message>
        <source>ファイルが見つかりませんでした</source>
        <translation>The file could not be found.</translation>
    </message>
    <message>
        <source>최근 작업 파일 </source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>파일  </source>
        <translation>File</translation>
    </message>
    <message>
        <source>open image file</source>
        <translation>Open an image file</translation>
    </message>
    <message>
        <source>클립보드 이미지 열기    </source>
        <translation>Open image from clipboard</translation>
    </message>
    <message>
        <source>이미지 다시 읽기</source>
        <translation>Reload image</translation>
    </message>
    <message>
        <source>reload image</source>
        <translation>Read the image again from its file</translation>
    </message>
    <message>
        <source>이미지 닫기  </source>
        <translation>Close image</translation>
    </message>
    <message>
        <source>close current window</source>
        <translation>Close the current window</translation>
    </message>
    <message>
        <source>이미지 저장 </source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>save current image</source>
        <translation>Save the current image</translation>
    </message>
    <message>
        <source>이미지 다른이름저장</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>save image to another name</source>
        <translation>Save the image under another name</translation>
    </message>
    <message>
        <source>인쇄</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>인쇄 전 확인  </source>
        <translation>Print preview…</translation>
    </message>
    <message>
        <source>환경설정</source>
        <translation>Environment options…</translation>
    </message>
    <message>
        <source>option</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>배치 처리</source>
        <translation>Batch processing…</translation>
    </message>
    <message>
        <source>종료</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>apprication exit</source>
        <translation>Exit the application</translation>
    </message>
    <message>
        <source>편집</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>되돌리기   </source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>되돌리기 취소  </source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>클립보드에 복사   </source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>표시</source>
        <translation>View</translation>
    </message>
    <message>
        <source>그리드 표시</source>
        <translation>Show grid</translation>
    </message>
    <message>
        <source>이미지 확대</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>이미지 축소</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>팔레트 윈도우  </source>
        <translation>Palette window</translation>
    </message>
    <message>
        <source>열려 있는 윈도우 </source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>リストビュー</source>
        <translation>List view</translation>
    </message>
    <message>
        <source>AVI 윈도우 </source>
        <translation>AVI window</translation>
    </message>
    <message>
        <source>감색</source>
        <translation>Colour reduction</translation>
    </message>
    <message>
        <source>감색 옵션 설정 </source>
        <translation>Colour reduction options…</translation>
    </message>
    <message>
        <source>회전/반전</source>
        <translation>Rotate/flip</translation>
    </message>
    <message>
        <source>우로 90°회전 </source>
        <translation>Rotate 90° right</translation>
    </message>
    <message>
        <source>좌로 90°회전 </source>
        <translation>Rotate 90° left</translation>
    </message>
    <message>
        <source>상하 180°반전</source>
        <translation>Flip vertically</translation>
    </message>
    <message>
        <source>좌우 180°반전</source>
        <translation>Flip horizontally</translation>
    </message>
    <message>
        <source>컬러 변환</source>
        <translation>Colour conversion</translation>
    </message>
    <message>
        <source>휘도를 알파에 기입  </source>
        <translation>Write luminance into alpha</translation>
    </message>
    <message>
        <source>알파를 모두 1로 함</source>
        <translation>Make all alpha opaque</translation>
    </message>
    <message>
        <source>빼는색의알파를 0으로 함</source>
        <translation>Set the key colour&apos;s alpha to 0</translation>
    </message>
    <message>
        <source>모노크롬</source>
        <translation>Monochrome</translation>
    </message>
    <message>
        <source>반전</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>알파 0부에 불투명경계 색상 취득</source>
        <translation>Fill alpha-0 areas with the opaque edge colours</translation>
    </message>
    <message>
        <source>[투과대상색]을 백 컬러로 한다</source>
        <translation>Turn [transparent colours] into the background colour</translation>
    </message>
    <message>
        <source>[투과대상색]을 1팔레트로 이동</source>
        <translation>Move [transparent colour] to the first palette entry</translation>
    </message>
    <message>
        <source>ARGB 포맷으로 변환 </source>
        <translation>Convert to ARGB</translation>
    </message>
    <message>
        <source>사이즈변경</source>
        <translation>Resize…</translation>
    </message>
    <message>
        <source>확대/축소</source>
        <translation>Scale…</translation>
    </message>
    <message>
        <source>도움말</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>MEVRA에 대해 </source>
        <translation>About MEVRA</translation>
    </message>
    <message>
        <source>設定ファイルを保存できませんでした。</source>
        <translation>The settings file could not be saved.</translation>
    </message>
</context>
<context>
    <name>palette_window</name>
    <message>
        <source>アルファ合成표시</source>
        <translation>Alpha blended</translation>
    </message>
    <message>
        <source>カラー(RGB)표시</source>
        <translation>Colour (RGB) only</translation>
    </message>
    <message>
        <source>アルファのみ표시</source>
        <translation>Alpha only</translation>
    </message>
    <message>
        <source>加算合成표시</source>
        <translation>Additive blend</translation>
    </message>
    <message>
        <source>減算合成표시</source>
        <translation>Subtractive blend</translation>
    </message>
    <message>
        <source>通常ペン(ARGB)</source>
        <translation>Normal (ARGB)</translation>
    </message>
    <message>
        <source>カラーペン(RGB)</source>
        <translation>Colour (RGB)</translation>
    </message>
    <message>
        <source>アルファペン(A)</source>
        <translation>Alpha (A)</translation>
    </message>
    <message>
        <source>ペン1の色</source>
        <translation>Pen 1 colour</translation>
    </message>
    <message>
        <source>ペン2の色</source>
        <translation>Pen 2 colour</translation>
    </message>
    <message>
        <source>カーソル付近拡大표시</source>
        <translation>Magnified view around the cursor</translation>
    </message>
    <message>
        <source>R:赤 G:緑 B:青 #(16進表記)</source>
        <translation>R: red G: green B: blue #(hexadecimal)</translation>
    </message>
    <message>
        <source>Pen1</source>
        <translation>Pen 1</translation>
    </message>
    <message>
        <source>Spuit [Left Click pen1 color] [Right Click pen2 color]</source>
        <translation>Eyedropper [left click: pen 1 colour] [right click: pen 2 colour]</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Pen2</source>
        <translation>Pen 2</translation>
    </message>
    <message>
        <source>Color : %1</source>
        <translation>Colours: %1</translation>
    </message>
    <message>
        <source>ImageMode : RGB color</source>
        <translation>Image mode: RGB colour</translation>
    </message>
    <message>
        <source>ImageMode : 256 color</source>
        <translation>Image mode: 256 colours</translation>
    </message>
    <message>
        <source>ImageMode :  16 color</source>
        <translation>Image mode: 16 colours</translation>
    </message>
    <message>
        <source>GIMP 팔레트 (*.gpl)</source>
        <translation>GIMP palette (*.gpl)</translation>
    </message>
    <message>
        <source>JASC-PAL 팔레트 (*.pal)</source>
        <translation>JASC-PAL palette (*.pal)</translation>
    </message>
    <message>
        <source>RIFF 팔레트 (*.pal)</source>
        <translation>RIFF palette (*.pal)</translation>
    </message>
    <message>
        <source>Adobe 컬러 테이블 (*.act)</source>
        <translation>Adobe colour table (*.act)</translation>
    </message>
    <message>
        <source>16진 컬러 리스트 (*.hex)</source>
        <translation>Hex colour list (*.hex)</translation>
    </message>
    <message>
        <source>PNG 이미지 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>팔레트 불러오기…</source>
        <translation>Load palette…</translation>
    </message>
    <message>
        <source>팔레트 저장…</source>
        <translation>Save palette…</translation>
    </message>
    <message>
        <source>팔레트 불러오기</source>
        <translation>Load palette</translation>
    </message>
    <message>
        <source>팔레트 (*.gpl *.pal *.act *.hex *.png)</source>
        <translation>Palettes (*.gpl *.pal *.act *.hex *.png)</translation>
    </message>
    <message>
        <source>모든 파일 (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>팔레트를 읽을 수 없습니다</source>
        <translation>The palette could not be read</translation>
    </message>
    <message>
        <source>팔레트를 저장할 수 없습니다</source>
        <translation>The palette could not be saved</translation>
    </message>
    <message>
        <source>팔레트 저장</source>
        <translation>Save palette</translation>
    </message>
</context>
<context>
    <name>reduce</name>
    <message>
        <source>抜き色が減色する色数以上なので減色できません。</source>
        <translation>The image cannot be reduced: it has as many transparent colours as the target number of colours, or more.</translation>
    </message>
</context>
<context>
    <name>reduction_options_dialog</name>
    <message>
        <source>감색 옵션  </source>
        <translation>Colour reduction options</translation>
    </message>
    <message>
        <source>감색後のカラー数を指定します。元の画像のカラー数が２万色以上になると
변환に1分以上かかることがあります。</source>
        <translation>The number of colours after the reduction. When the original image has more than 20,000
colours, the conversion may take more than a minute.</translation>
    </message>
    <message>
        <source>배경중시(강)</source>
        <translation>Background first (strong)</translation>
    </message>
    <message>
        <source>배경중시(중)</source>
        <translation>Background first (medium)</translation>
    </message>
    <message>
        <source>배경중시(약)</source>
        <translation>Background first (weak)</translation>
    </message>
    <message>
        <source>컬러 중시</source>
        <translation>Colours first</translation>
    </message>
    <message>
        <source>「背景重視」は画像上で多くの面積を使用している色を重視します。</source>
        <translation>“Background first” favours the colours that cover the largest areas of the image.</translation>
    </message>
    <message>
        <source>없음</source>
        <translation>None</translation>
    </message>
    <message>
        <source>오차확산A</source>
        <translation>Error diffusion A</translation>
    </message>
    <message>
        <source>오차확산B</source>
        <translation>Error diffusion B</translation>
    </message>
    <message>
        <source>패턴 디터  </source>
        <translation>Pattern dither</translation>
    </message>
    <message>
        <source>오차확산B→오차확산A→패턴 디터  →없음&#x3000;の順に計算が複雑です。
３００万画素以上になると1分ほど時間がかかる場合があります。</source>
        <translation>Error diffusion B takes the most calculation, then error diffusion A, pattern dither
and none. Images of 3 million pixels or more may take about a minute.</translation>
    </message>
    <message>
        <source>１は弱く、１０は強くディザリングします</source>
        <translation>1 dithers lightly, 10 strongly</translation>
    </message>
    <message>
        <source>빼는색 감색 안함</source>
        <translation>Keep the transparent colours out of the reduction</translation>
    </message>
    <message>
        <source>색수 [ 2 - 256 ]</source>
        <translation>Colours [ 2 - 256 ]</translation>
    </message>
    <message>
        <source>감색 우선타입</source>
        <translation>Reduction priority</translation>
    </message>
    <message>
        <source>디저링 타입   </source>
        <translation>Dither type</translation>
    </message>
    <message>
        <source>디저링 레벨  [ 1 - 10 ]  </source>
        <translation>Dither level [ 1 - 10 ]</translation>
    </message>
    <message>
        <source>減色後のパレットを画像の色に近づける補正の回数です。０で補正しません。
写真には「배경중시(강)」と１６回を推奨します。</source>
        <translation>How many times the reduced palette is refined towards the image&apos;s colours; 0 turns it off.
For photographs, 16 passes with “Background first (strong)” are recommended.</translation>
    </message>
    <message>
        <source>팔레트 보정 횟수 [ 0 - 16 ]</source>
        <translation>Refinement passes [ 0 - 16 ]</translation>
    </message>
</context>
<context>
    <name>resize</name>
    <message>
        <source>サイズ変更の設定が正しくありません</source>
        <translation>The resize settings are not valid.</translation>
    </message>
    <message>
        <source>リサイズ</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>新しいサイズ %1 x %2 の画像は作れません。
幅 高さは1 - %3、画素数は%4以下にしてください</source>
        <translation>An image of the new size %1 x %2 cannot be made.
Please keep width and height within 1 - %3 and the pixel count at most %4.</translation>
    </message>
</context>
<context>
    <name>trim_dialog</name>
    <message>
        <source>リサイズ</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>사이즈변경</source>
        <translation>Resize</translation>
    </message>
    <message>
        <source>확대/축소</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>サイズ 割合</source>
        <translation>Size, ratio</translation>
    </message>
    <message>
        <source>余白</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>倍数</source>
        <translation>Multiples</translation>
    </message>
    <message>
        <source>累乗</source>
        <translation>Powers of 2</translation>
    </message>
    <message>
        <source>左寄せ</source>
        <translation>Align left</translation>
    </message>
    <message>
        <source>センタリング</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>右寄せ</source>
        <translation>Align right</translation>
    </message>
    <message>
        <source>上詰め</source>
        <translation>Align top</translation>
    </message>
    <message>
        <source>センター</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>下詰め</source>
        <translation>Align bottom</translation>
    </message>
    <message>
        <source>縦横比を固定</source>
        <translation>Keep the aspect ratio</translation>
    </message>
    <message>
        <source>指定サイズにリサイズ</source>
        <translation>Resize to the given size</translation>
    </message>
    <message>
        <source>元絵の全体がサイズに入る大きさ</source>
        <translation>The whole picture fits into the size</translation>
    </message>
    <message>
        <source>指定サイズが元絵に入る大きさ</source>
        <translation>The picture covers the whole size</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>２の倍数の余白を足す</source>
        <translation>Pad to a multiple of 2</translation>
    </message>
    <message>
        <source>４の倍数の余白を足す</source>
        <translation>Pad to a multiple of 4</translation>
    </message>
    <message>
        <source>８の倍数の余白を足す</source>
        <translation>Pad to a multiple of 8</translation>
    </message>
    <message>
        <source>１６の倍数の余白を足す</source>
        <translation>Pad to a multiple of 16</translation>
    </message>
    <message>
        <source>２の倍数で右下をカット</source>
        <translation>Cut the bottom right to a multiple of 2</translation>
    </message>
    <message>
        <source>４の倍数で右下をカット</source>
        <translation>Cut the bottom right to a multiple of 4</translation>
    </message>
    <message>
        <source>８の倍数で右下をカット</source>
        <translation>Cut the bottom right to a multiple of 8</translation>
    </message>
    <message>
        <source>１６の倍数で右下をカット</source>
        <translation>Cut the bottom right to a multiple of 16</translation>
    </message>
    <message>
        <source>選択した単位に画像の右下に余白を足す。又は、カットします</source>
        <translation>Adds margins at the bottom right of the image up to the chosen multiple, or cuts it down to it</translation>
    </message>
    <message>
        <source>２の累乗の「長方形」</source>
        <translation>Power-of-2 “rectangle”</translation>
    </message>
    <message>
        <source>２の累乗の「正方形」</source>
        <translation>Power-of-2 “square”</translation>
    </message>
    <message>
        <source>元の画像を指定した割合でリサイズした画像の入る２の累乗にリサイズ</source>
        <translation>Resizes to the power of 2 that holds the original image scaled by the given percentage</translation>
    </message>
    <message>
        <source>元のパレットを使う</source>
        <translation>Use the original palette</translation>
    </message>
    <message>
        <source>없음</source>
        <translation>None</translation>
    </message>
    <message>
        <source>오차확산A</source>
        <translation>Error diffusion A</translation>
    </message>
    <message>
        <source>오차확산B</source>
        <translation>Error diffusion B</translation>
    </message>
    <message>
        <source>패턴 디터  </source>
        <translation>Pattern dither</translation>
    </message>
    <message>
        <source>디저링 타입   </source>
        <translation>Dither type</translation>
    </message>
    <message>
        <source>디저링 레벨  [ 1 - 10 ]  </source>
        <translation>Dither level [ 1 - 10 ]</translation>
    </message>
    <message>
        <source>パーセントには1 - 1000の数字を入力してください</source>
        <translation>Please enter a number from 1 to 1000 for the percentage.</translation>
    </message>
    <message>
        <source>余白サイズには数字を入力してください</source>
        <translation>Please enter numbers for the margins.</translation>
    </message>
    <message>
        <source>幅 高さには1 - 1000の数字を入力してください</source>
        <translation>Please enter numbers from 1 to 1000 for the width and height.</translation>
    </message>
    <message>
        <source>幅 高さには1 - 32768の数字を入力してください</source>
        <translation>Please enter numbers from 1 to 32768 for the width and height.</translation>
    </message>
    <message>
        <source>％</source>
        <translation>%</translation>
    </message>
</context>
</TS>
