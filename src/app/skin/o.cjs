/* Tenvoria sample skin. A skin is a Qt style sheet placed in the program folder as x/o.cjs;
   without it the windows keep their plain white design. */
QWidget#Form1, QWidget#Form2 {
    background: palette(button);
}
QGroupBox {
    border: 1px solid #8a9bb0;
    border-radius: 4px;
    margin-top: 8px;
    padding-top: 2px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0 3px;
    color: #1f3f66;
}
QPushButton {
    color: #ffffff;
    border: 1px solid #1b4f8a;
    border-radius: 4px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3d7cc4, stop:1 #255d9c);
}
QPushButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4f8fd6, stop:1 #2c6aae);
}
QPushButton:pressed {
    background: #1f4f86;
}
QLineEdit {
    border: 1px solid #9aa9ba;
    border-radius: 2px;
    background: #ffffff;
    selection-background-color: #3d7cc4;
}
QLineEdit:focus {
    border: 1px solid #3d7cc4;
}
QTabBar::tab {
    padding: 0 14px;
}
