#pragma once
// The notes editor: each picture's note is written, styled and placed here, one picture at a
// time (Globali::puntatore). Every edit goes at once into that picture's row of
// Globali::contorno; "OK" hands control back to the setup window.
#include "kit/window.h"
#include "logic/geometry/editor_geometry.h"
#include "pictures/background.h"

class QButtonGroup;

class fin_edita : public fw::Window {
    Q_OBJECT
  public:
    fin_edita();

    // Handlers, bound to user actions only: a control set from code runs none of them, so
    // showing a note never rewrites it.
    void PushButton1_Action();
    void PushButton2_Action();
    void PushButton3_Action();
    void PushButton4_Action();
    void PushButton5_Action();
    void rec_schermo_MouseExit();
    void rec_schermo_MouseMove(int x, int y);
    bool rec_schermo_MouseDown(int x, int y);
    void EditField1_TextChange();
    void RadioB_Action(int index);
    void PopupMenu1_Open();
    void PopupMenu1_Change();
    void CheckBoxs_Action(int index);
    void PopupMenu2_Change();
    void CheckBox1_Action();
    void Slider1_ValueChanged();
    void Event_Open() override;
    // A close request from the window system (Alt+F4) leaves as "OK" does.
    bool Event_CancelClose() override;
    void me_ita();
    void me_usa();
    // The load: shows the current picture's note in the controls and on the preview.
    void consami();

    // Controls, in creation order.
    fw::PushButton* PushButton1 = nullptr;
    fw::PushButton* PushButton2 = nullptr;
    fw::PushButton* PushButton3 = nullptr;
    fw::PushButton* PushButton4 = nullptr;
    fw::PushButton* PushButton5 = nullptr;
    fw::Canvas* rec_schermo = nullptr;
    fw::EditField* EditField1 = nullptr;
    fw::StaticText* StaticText2 = nullptr;
    fw::ControlArray<fw::RadioButton> RadioB;
    fw::Rectangle* Rectangle1 = nullptr;
    fw::StaticText* StaticText3 = nullptr; // the marker's label, inside Rectangle1
    fw::StaticText* StaticText1 = nullptr;
    fw::PopupMenu* PopupMenu1 = nullptr;
    fw::ControlArray<fw::CheckBox> CheckBoxs;
    fw::StaticText* StaticText4 = nullptr;
    fw::PopupMenu* PopupMenu2 = nullptr;
    fw::StaticText* StaticText5 = nullptr;
    fw::StaticText* StaticText6 = nullptr;
    fw::Separator* Separator1 = nullptr;
    fw::Line* Line1 = nullptr;
    fw::StaticText* StaticText7 = nullptr;
    fw::CheckBox* CheckBox1 = nullptr;
    fw::StaticText* StaticText8 = nullptr;
    fw::Slider* Slider1 = nullptr;
    fw::StaticText* StaticText9 = nullptr;
    fw::Line* Line2 = nullptr;
    fw::ControlArray<fw::Line> bordo;
    fw::ControlArray<fw::Rectangle> recbordo;
    fw::StaticText* StaticText10 = nullptr;
    // The six position buttons as one exclusive group.
    QButtonGroup* RadioGroup = nullptr;

    // Whether the preview picture asked for last is still being decoded.
    bool previewPending() const { return preview_.pending() > 0; }

  private:
    // The cell of the current picture's row; a row or column the table does not have reads
    // empty and takes no writes.
    QString cell(int column) const;
    void store(int column, const QString& text);
    // Keeps puntatore on a picture of the set.
    static int clampedPicture(int i);
    void applyCaptions(int lingua);
    void showPreviewPicture();
    void selectPosition(int index);
    // Handle `k` (0 or 1) centred on a window point, and the frame lines from both handles.
    void moveHandle(int k, QPoint centre);
    editor_geo::FrameLines drawFrameFromHandles();
    void showFrame(bool on);
    // The corner handle that the next click on the preview places.
    static int nextCorner();

    // The preview picture being decoded; the next picture asked for supersedes it.
    fw::Jobs preview_{fw::Lane::Prompt};
};
