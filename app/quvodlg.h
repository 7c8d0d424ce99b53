#pragma once

#include <QByteArray>
#include <QCursor>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/dialoglayout.h"
#include "app/displaymode.h"
#include "chardata/characterstore.h"
#include "chardata/pinyintable.h"
#include "online/pageserver.h"
#include "online/webpanel.h"
#include "game/assembly.h"
#include "game/carrygesture.h"
#include "media/mediaplayer.h"
#include "settings/settingsrecord.h"
#include "strokes/glyphsource.h"
#include "strokes/outlineseg.h"
#include "strokes/polygonregion.h"
#include "strokes/strokegeometry.h"

class QAbstractButton;
class QMenu;
class CBHWnd;
class CButtonST;
class CXInfoTip;
class CMyButton;
class QPainter;
class QPushButton;
class CMySliderControl;
class QTimer;
class CLoadHtmlThread;
class QProgressDialog;

namespace quvo {
class UserMessageEvent;
struct UpdateInfo;
struct DownloadProgress;
}

// The program's one main window: a borderless 1024 x 768 dialog that holds every control,
// carries all state of a run and is the hub the other windows report to.
class CQuvoDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    static constexpr int kHintTimer = 1;
    static constexpr int kFlashTimer = 4;
    static constexpr int kDemoTimer = 5;
    // A click this close to the enlarged piece's shape still picks it up.
    static constexpr int kPreviewHitMargin = 3;

    explicit CQuvoDlg(QWidget* parent = nullptr);
    ~CQuvoDlg() override;

    // The dialog's life: window creation, initialisation, then the modal loop.
    int OnCreate();
    bool OnInitDialog();
    int DoModal();

    // Runs once per run, whatever the route: button 1000, button 1023 or a close request.
    void ExitRoutine();
    // The end of the program by SIGTERM or SIGINT: the exit routine without the credits.
    void OnTerminationSignal();

    QWidget* GetDlgItem(int id) const;
    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked);

    void SetTimer(int id, int periodMs);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;

    const std::string& ProgramFolder() const { return m_programFolder; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    friend class TestQuvoDlg;
    friend class QuvoDlgBench;
    friend class TestNavigation;
    friend class TestGame;
    friend class TestPanel;
    friend class TestAnimatedCursor;
    friend class TestWebPanel;
    friend class TestUpdate;
    friend class TestPrintSheet;
    friend class TestSoak;

    // Window creation.
    static std::string CurrentFolderAsProgramFolder();
    void StartUpdateWorker();

    // Controls of the dialog template.
    void CreateControls();
    QWidget* CreateControl(const quvo::ControlTemplate& control);
    void ConnectControls();
    void LayOutDialog(int width, int height);
    void CreateCharacterButtons();
    void StyleButtons();

    // Initialisation steps.
    void LoadCursors();
    std::optional<QCursor> LoadAnimatedCursor(const char* fileName) const;
    void CreateInfoTip();
    bool LoadSettings();
    void ApplySettings(const quvo::SettingsRecord& record);
    void CheckOptionBoxes();
    void LookUpStartProgress(const std::string& bookPath);
    std::string StartCharacter() const;
    void SetSliderRange();

    // Settings and progress files.
    std::string DataPath(const char* name) const;
    int ReadSettings(quvo::SettingsBytes& buffer) const;
    int WriteSettingsAndProgress();
    quvo::SettingsRecord SettingsFromDialog() const;
    int LookUpProgress(const std::string& bookPath, int& position) const;
    int SaveProgress(const std::string& bookPath, int position) const;

    // Textbook pages, moving between characters, the store and the pinyin.
    int ShowTextbookPage(int n);
    void OnPreviousPage();
    void OnNextPage();
    void OnChooseBook();
    void ChangeTextbook(const std::string& path);
    void OnTypedCharacter();
    bool CanTeach(const std::string& gbk);
    void SetUpTypedCharacterBox();
    void LoadCharacter(const char* character);
    // A character switch frees outlines, regions and piece pictures; once the child pauses,
    // what the allocator kept of them goes back to the system.
    void ScheduleHeapTrim();
    static void TrimHeap();
    void LookUpCharacter();
    int LookUpPinyin();
    QString PinyinText() const;
    QRect PinyinArea() const;
    QRect PinyinTextRect() const;
    const QByteArray& PinyinTable();
    void InvalidatePanel(const quvo::Rect& panel);
    void AttachPieceTip(CBHWnd* piece);

    // The assembling game: preview, pick-up, carrying, putting down, the verdict.
    CBHWnd* Piece(int k) const;
    void SwitchOutline(CBHWnd* piece, quvo::OutlineSeg* outline);
    int PreviewPiece(int p, QPoint point);
    void EndPreview();
    void OnPiecePressed(quvo::UserMessageEvent& event);
    void PressForCarry(int p, QPoint point, unsigned long long time);
    void ReleaseForCarry(QPoint point, unsigned long long time);
    void EndCarry();
    bool StopDemo();
    int PickUpPiece(int p, QPoint point);
    bool CheckStrokeAtPickUp(int p, QPoint point);
    void CarryPiece(QPoint point);
    void PutDownPiece(QPoint point);
    void CheckAssembly();
    void SetDialogCursor(const std::optional<QCursor>& cursor);
    void PlayCue(const std::string& path);
    void DemoStep(int s, int toPanel);
    void OnDemoButton();
    void DrawHint(QPainter& painter);
    void StartMusicPlayer();

    // The picture behind the dialog and the background music.
    QMenu* BuildChoiceMenu(bool themes);
    void ShowChoiceMenu(CButtonST* button, bool themes);
    void OnMenuCommand(int command);
    void ChooseOtherFile(bool theme);
    void ChangeTheme(const std::string& path);
    void ChangeMusic(const std::string& path);

    // Practice sheets of the current character or page, through the desktop's print dialog.
    void ConnectPrinting();
    void OnPrintKey();
    void ShowPrintMenu(QPoint globalPos);
    std::vector<std::string> PageCharacters() const;
    void PrintSheet(const std::vector<std::string>& characters, const std::string& title);

    // The window buttons: help in the desktop's browser, full screen and back.
    void OnHelp();
    void OnFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();

    // Option commands of the control panel.
    void ConnectOptionBoxes();
    void ToggleOption(int& member, int id, const quvo::Rect* panel);
    void OnStrokeCheckBox();
    void OnHintsBox();
    void OnBackgroundMusicBox();
    void OnPinyinBox();
    void OnSpeedReleased();
    void ShowSpeed(int position);

    // The current character: outlines, pieces and their tables.
    void SetUpCharacter(const char* character);
    void ExtractGlyphStrokes(const char* character, int height, quvo::OutlineSeg*& segCursor,
                             quvo::OutlineSeg*& headCursor);
    quvo::GlyphSource& GlyphFont();
    void FitPiecesToTray();
    std::vector<quvo::Size> PieceSizes() const;
    void CreatePieces();
    CBHWnd* CreatePiece(int k, quvo::OutlineSeg* outline, const quvo::Rect& bounds,
                        const quvo::Rect& home, std::time_t now);
    void DestroyPieces();
    void FreeCharacter();

    // Exit routine steps.
    void ReleaseCharacter();
    void StopBackgroundMusic();
    void RestoreDisplayMode();

    // Message pre-translation and the user messages.
    bool PreTranslateMessage(QObject* watched, QEvent* event);
    bool IsOwnWidget(QObject* object) const;
    bool IsDialogKey(QObject* watched, QEvent* event) const;
    void OnUserMessage(quvo::UserMessageEvent& event);
    std::intptr_t OnInitialised();
    std::intptr_t OnCharacterButton(const QByteArray& text);
    void OnTimer(int id);

    // Painting, the players, and the handlers of the numbered messages and the timers.
    void RelayToInfoTip(QObject* watched, QEvent* event);
    bool RestartMusicOnNotify(QEvent* event);
    bool LoadBackgroundPicture(const std::string& path);
    std::vector<quvo::Colour> PictureUnder(const std::vector<quvo::PolygonRegion::Span>& spans,
                                           QPoint at) const;
    void PaintMinimisedIcon(QPainter& painter);
    void DrawSample(QPainter& painter);
    void DrawGrid(QPainter& painter);
    void DrawUnderlay(QPainter& painter);
    void DrawPinyin(QPainter& painter);
    void DrawTextbookTitle(QPainter& painter);
    std::string TextbookName() const;
    void SetAssembleButtonCaption();
    void StartBackgroundMusic();
    void HideNavigationCaptions();
    void OnPieceClicked(quvo::UserMessageEvent& event);
    void OnPieceMoving(quvo::UserMessageEvent& event);
    void OnPieceHovered(quvo::UserMessageEvent& event);
    void OnHintTimer();
    void OnFlashTimer();
    void OnDemoTimer();

    // Calls into parts of the program that arrive with later work; each is a no-op until
    // then (app/quvodlg_pending.cpp).
    // The web panel (app/quvodlg_web.cpp): its server, the panel made after the first paint,
    // and the pages it is sent to.
    void CreateWebView();
    void StartPageServer();
    void CreateWebPanel();
    void NavigateToCharacterPage(const char* character);
    void NavigateToResultPage(const std::string& address);
    void NavigateWebPanel(const std::string& address);
    void StopPageServer();
    void ReportStartupStamp(const char* what) const;
    void ShowStartHelp();
    void ShowClosingDialog();
    void OnUpdateOffer(quvo::UserMessageEvent& event);

    // The update offer, the download and the hand-over to the updater.
    enum class DownloadOutcome { kDone, kFailed, kStopped };
    void StartUpdateCheck();
    void StopUpdate();
    int OnUpdateReply(const std::string& reply);
    DownloadOutcome DownloadUpdate(const std::string& remoteFile, const quvo::UpdateInfo& info);
    void ReportDownload(const quvo::DownloadProgress& step);
    void OnDownloadProgress(const quvo::UserMessageEvent& event);
    bool StartUpdater();
    QString ProgramFolderPath() const;

    // --- Character, option and game state ---
    quvo::PlacedStrokes m_placed;    // the pieces put into the practice panel, in order
    std::string m_strokeOrder;       // stroke-order text of the current character
    std::vector<std::int32_t> m_strokeColours;
    int m_charButtonCount = 0;
    int m_textbookPosition = 0;
    int m_showUnderlay = 0;
    int m_showGrid = 0;
    int m_showSample = 0;
    int m_demoBeforeAssembling = 0;
    std::vector<CMyButton*> m_charButtons;
    int m_pieceGapX = 10;
    int m_pieceGapY = 10;
    char m_currentChar[4] = {};      // GBK, zero-terminated
    quvo::Panels m_panels;
    int m_glyphSizes[2] = {180, 500};
    int m_strokeCount = 0;
    std::uint8_t m_fullScreenActive = 0;
    int m_pieceCarried = 0;
    int m_carriedPiece = 0;

    quvo::StrokeList m_smallStrokes;   // outlines at height 180: pieces and sample
    quvo::StrokeList m_largeStrokes;   // outlines at height 500: practice panel
    quvo::StrokePoint m_outlineOrigin; // added to every extracted point
    quvo::TextMetrics m_textMetrics[2];
    int m_metricSlot = 0;
    std::vector<CBHWnd*> m_pieces;    // piece k is m_pieces[k - 1]

    // --- Window resources and other members ---
    QIcon m_tipIcon;
    std::string m_programFolder;     // GBK, no trailing separator, at most 127 bytes
    QPixmap m_background;
    QImage m_backgroundImage;        // the same picture, for reading its pixels
    CButtonST* m_btnMusic = nullptr;       // 1021
    CButtonST* m_btnBackground = nullptr;  // 1022
    CButtonST* m_btnAssemble = nullptr;    // 1045
    std::string m_bookPath;          // GBK paths
    std::string m_themePath;
    std::string m_musicPath;
    std::string m_rightCuePath;
    std::string m_errorCuePath;
    int m_backgroundMusicOn = 0;
    std::uint8_t m_strokeCheck = 0;
    std::uint8_t m_hints = 0;
    int m_largeFlag = 0;
    std::string m_pinyin;
    std::string m_tone;
    CButtonST* m_btnPrevious = nullptr;    // 1004
    CButtonST* m_btnNext = nullptr;        // 1005
    CButtonST* m_btnExit = nullptr;        // 1000
    CButtonST* m_btnDemo = nullptr;        // 1010
    CButtonST* m_btnChooseBook = nullptr;  // 1007
    CButtonST* m_btnHelp = nullptr;        // 1008
    CMySliderControl* m_speedSlider = nullptr;  // 1035
    int m_running = 0;
    quvo::WebPanel* m_webView = nullptr;
    std::optional<QCursor> m_cursorNormal;
    std::optional<QCursor> m_cursorMove;
    std::optional<QCursor> m_cursorOn;
    std::optional<QCursor> m_currentCursor;
    QIcon m_mainIcon;
    CButtonST* m_btnMinimise = nullptr;    // 1024
    CButtonST* m_btnClose = nullptr;       // 1023
    int m_progressFound = 0;
    int m_tippedButtons = 0;
    QPoint m_referencePoint;
    int m_showPinyin = 0;
    std::vector<std::uint8_t> m_strokeMarks;
    int m_demoStep = 0;
    int m_demoSpeed = 0;
    int m_demoMode = 0;
    std::string m_typedCharacter;
    std::string m_strokeNames;
    int m_hoveredPiece = -1;
    QRect m_hoverRect;
    quvo::CarryGesture m_gesture{CarrySettings()};
    static quvo::CarryGesture::Settings CarrySettings();
    CLoadHtmlThread* m_updateWorker = nullptr;
    std::string m_version;
    CButtonST* m_btnFullScreen = nullptr;  // 1046
    quvo::DisplayMode m_savedMode;   // the screen's mode before full screen
    bool m_endedBySignal = false;

    // --- Plumbing of this platform ---
    std::map<int, QWidget*> m_controls;
    std::map<int, QTimer*> m_timers;
    QTimer* m_heapTrimTimer = nullptr;
    std::unique_ptr<quvo::GlyphSource> m_glyphSource;
    CMediaPlayer m_musicPlayer;       // background music, alias 1, loops
    CMediaPlayer m_cuePlayer;         // right and error cues, alias 4
    int m_hintStroke = -1;            // the hint outline the next paint draws, -1 for none
    std::uint32_t m_hintColour = 0;
    std::string m_resultPage;         // the result page of the last completed assembly
    std::unique_ptr<quvo::PageServer> m_pageServer;  // the program's own, when none is configured
    std::string m_serverHost;         // host:port of the pages
    QProgressDialog* m_downloadProgress = nullptr;  // while the updater is downloaded
    std::atomic<bool>* m_downloadStop = nullptr;    // stops that download
    bool m_webPanelDue = false;       // the panel is made once the first paint is done
    std::string m_pendingWebPage;     // a page asked for before the panel was made
    CXInfoTip* m_infoTip = nullptr;
    QByteArray m_pinyinTable;
    bool m_pinyinTableLoaded = false;
    std::unique_ptr<quvo::PinyinIndex> m_pinyinIndex;
    std::unique_ptr<quvo::CharacterStore> m_store;  // kept open between characters  // the table's answers, made at its load
    bool m_exitStarted = false;
    int m_exitRuns = 0;
};
