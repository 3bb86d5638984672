#pragma once
// The main window, "Zarvik Fast 2D 2 3D": the picture, the progress band, the menu
// bar with every command and conversion choice, and the host of the conversion.
//
// Geometry follows the old form's twips rules at 15 twips to the pixel. The
// QMainWindow's own size (menu bar included, window frame excluded) stands for the
// old outer size, so the window comes out a little taller inside than the old one
// did, by the title bar the old outer size counted.
//
// One picture view shows a stage at a time: the opened picture, picDepth, picResult
// or picOriginal (the anaglyph once converted). Conversions run on worker threads; the
// surfaces take their results when they end. Every modal interaction goes through
// UserPrompts.
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

#include "app/main_menus.h"
#include "app/user_prompts.h"
#include "conversion/run.h"
#include "core/choices.h"
#include "core/workspace.h"
#include "io/picture_io.h"
#include "platform/display.h"
#include "platform/picture_surface.h"

class BackgroundLoad;
class ConversionRunner;
class PictureView;
class PreviewSource;
class ProgressBand;
class QLabel;

class frmQelun : public QMainWindow {
    Q_OBJECT

  public:
    // surface_bits 0 takes the primary screen's depth.
    explicit frmQelun(std::unique_ptr<UserPrompts> prompts = nullptr, int surface_bits = 0);
    ~frmQelun() override;

    // Start-up: places the controls, reads the settings, shows the window.
    void Form_Load();
    // Exit: closes the other windows and writes the settings.
    void Form_Unload();

    void mnuFrameYesNo_Click(int index);
    void mnuBlackWhite_Click(int index);
    void mnuFrameFull_Click(int index);
    void mnuCue_Click(int index);
    void mnuBlur_Click(int index);
    void mnuRedBlue_Click(int index);
    void mnuWarp_Click();
    void mnuShift_Click();
    void mnuSetWarpShift_Click();
    void mnuAnaglyph_Click();
    void mnuDepthGrain_Click();
    void DrawDepthHistogram();
    void mnuBatch_Click();
    void mnuFileOpen_Click();
    void mnuFileSaveAs_Click();
    void mnuFileReload_Click();
    // Cues › Scene (frm_qelun_scene.cpp).
    void mnuSceneChoice_Click(int index);
    void LayoutPictureBoxes();

    // The "Stereo" menu (frm_qelun_stereo.cpp): method, glasses and layout.
    void mnuStereoMethod_Click(int index);
    void mnuStereoGlasses_Click(int index);
    void mnuStereoLayout_Click(int index);
    void ShowStereoChecks();
    void EnableReload(bool enabled);

    // Window › Background (transparent pixels): frm_qelun_background.cpp.
    void mnuBackgroundOther_Click();
    void SetBackground(std::uint32_t background);
    // Scaled strength, screen plane and depth maps from files (frm_qelun_parallax.cpp).
    void mnuStrength_Click(int index);
    void mnuScreenPlane_Click();
    void mnuOpenDepthMap_Click();
    void mnuCloseDepthMap_Click();
    void OpenDepthMapPath(const QString& chosen);
    // The opened depth map, sized to the picture; nullptr when the cue makes one.
    const core::DepthLevels* DepthFrom() const;

    // Open's steps after the file dialog; also what dropping a file does.
    void OpenPicturePath(const QString& chosen);

    // The state of the "Anaglyph" command: a click while a cancelled run is still
    // unwinding is ignored, so runs never nest.
    enum class RunState { Idle, Running, Cancelling };
    RunState CurrentRunState() const { return run_state_; }
    bool Running() const { return run_state_ != RunState::Idle; }
    // How the last run ended; none before the first.
    std::optional<conversion::Outcome> LastOutcome() const { return last_outcome_; }

    // The window's views, live result, recent files and exports (issue 16).
    enum class Stage { kOriginal, kDepthMap, kSecondView, kResult };
    void ShowStage(Stage stage);
    Stage ShownStage() const { return stage_; }
    bool LiveResult() const { return live_; }
    // Converts again with the current choices, when the live result is on and a
    // picture is open; menus and dialogs call it after every change.
    void ChoicesChanged();
    // A live conversion (preview or full size) is wanted and not finished.
    bool LiveRunning() const;
    const QStringList& RecentFiles() const { return recent_files_; }
    void OpenRecent(int index);
    // What File › Export writes: a stage, or one eye's view of the last conversion.
    enum class Export { kDepthMap, kSecondView, kLeftView, kRightView };
    void ExportView(Export view);
    // The last conversion's time, in milliseconds; -1 before the first.
    qint64 LastConversionMs() const { return last_conversion_ms_; }
    QLabel* StatusSize() const { return status_size_; }
    QLabel* StatusStrength() const { return status_strength_; }

    const MainMenus& Menus() const { return menus_; }
    core::Choices& Choices() { return choices_; }
    core::ConversionSettings& Settings() { return settings_; }
    TavsMod::Values& Globals() { return globals_; }
    core::Workspace& Surfaces() { return surfaces_; }
    const platform::Display& GetDisplay() const { return display_; }
    const QString& CurrentFile() const { return current_file_; }
    const QString& InitialFolder() const { return initial_folder_; }
    PictureView* View() const { return view_; }
    ProgressBand* Band() const { return band_; }
    // The window's outer size in twips.
    int OuterWidth() const;
    int OuterHeight() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool Chosen(const FileChoice& choice);
    void ConnectMenus();
    void ConnectStereoMenus();
    void ConnectBackgroundMenu();
    void PlaceControls();
    void SetOuterSize(int width_twips, int height_twips);
    void ShowToggleChecks();
    void ShowGroupChecks();
    // Which commands a running conversion leaves usable: one rule for all of them.
    void UpdateCommandStates();
    void LoadIntoSurfaces(const platform::Picture& picture);
    void SetCommandCaption(const char* caption);
    void SetBandVisible(bool visible);
    void RunConversion();
    void CancelRun();
    void ShowViews(conversion::Views views);
    // Handles the window system's pending input once, as Open and Save As do before
    // their slow part.
    void Yield();
    void ShowFileError(const QString& text);
    // Scaled strength (frm_qelun_parallax.cpp).
    void ConnectParallaxMenus();
    void ShowParallaxChecks();
    void PictureOpened();
    void SuggestScaledStrength();
    // Cues › Scene (frm_qelun_scene.cpp).
    void ConnectSceneMenus();
    void ShowSceneChecks();
    void ShowScenePicked(const std::string& picked);
    void RunEnded(conversion::Result& result);
    void ConnectRunProgress();

    // Issue 16: the window's own commands, in frm_qelun_view.cpp, frm_qelun_live.cpp,
    // frm_qelun_export.cpp and frm_qelun_recent.cpp.
    void ConnectViewMenus();
    void BuildStatusLine();
    void UpdateStatusLine();
    void ShowStageBitmap();
    void StartLiveRun();
    QSize PreviewSize() const;
    // What a preview converts: the picture reduced to `size`, made once and kept.
    std::function<platform::Picture(const platform::Picture&)> ReducedForPreview(QSize size) const;
    void PrepareFirstPreview();
    void LiveRunEnded(conversion::Result& result, bool preview);
    void ShowPreviewViews(const conversion::Views& views);
    void AddRecentFile(const QString& path);
    void ShowRecentFiles();
    void ReadWindowSettings();
    void WriteWindowSettings() const;
    // `result`: Save Result As, whose file the caption names.
    // None when the opening was cancelled.
    std::optional<pictureio::LoadedPicture> LoadOffTheUiThread(const QString& path);
    // The bitmap is taken by value (its bytes are shared, not copied): a live result
    // arriving while the quality is asked replaces the surfaces, not what is saved.
    void SaveView(platform::Bitmap bitmap, const QString& chosen, const QString& filter,
                  bool result);
    const platform::Bitmap& ExportedBitmap(Export view) const;

    std::unique_ptr<UserPrompts> prompts_;
    platform::Display display_;
    core::Workspace surfaces_;
    core::Choices choices_;
    core::ConversionSettings& settings_ = choices_.settings;
    TavsMod::Values& globals_ = choices_.values;
    RunState run_state_ = RunState::Idle;
    std::unique_ptr<BackgroundLoad> loader_;         // Open's reading
    ConversionRunner* runner_ = nullptr;             // the Anaglyph command's runs
    ConversionRunner* live_runner_ = nullptr;        // the live result's full-size runs
    ConversionRunner* preview_runner_ = nullptr;     // and its previews, alongside
    std::shared_ptr<PreviewSource> preview_source_;  // what the previews convert
    QElapsedTimer run_clock_;
    QString saved_title_;  // the caption a long step's "Please Wait..." replaces
    std::optional<conversion::Outcome> last_outcome_;
    MainMenus menus_;
    PictureView* view_ = nullptr;
    Stage stage_ = Stage::kResult;
    bool space_held_ = false;
    bool live_ = true;
    bool live_pending_ = false;  // choices changed during an Anaglyph run
    bool has_views_ = false;     // picDepth and picResult hold a conversion's views
    // Each eye's view of the last conversion, kept for File › Export; empty before one.
    platform::Bitmap left_view_;
    platform::Bitmap right_view_;
    qint64 last_conversion_ms_ = -1;
    QStringList recent_files_;
    // A live preview's anaglyph, depth map and second view, shown until the full-size
    // result replaces them.
    std::array<QImage, 3> previews_;
    QElapsedTimer live_clock_;
    int jpeg_quality_ = 92;
    QLabel* status_size_ = nullptr;
    QLabel* status_strength_ = nullptr;
    QLabel* status_time_ = nullptr;
    ProgressBand* band_ = nullptr;
    QString current_file_;
    // The picture last read from current_file_, for a reload that finds the file
    // gone or spoilt.
    std::optional<platform::Picture> last_loaded_;
    // The file's bytes that last_loaded_ was decoded from: every run starts with a
    // reload, and a file that still holds them needs no decoding.
    QByteArray last_loaded_bytes_;
    QString initial_folder_;
    bool reload_allowed_ = true;  // as designed, until start-up disables it
    bool close_pending_ = false;
    std::optional<core::DepthLevels> depth_from_;  // File › Open Depth Map
};
