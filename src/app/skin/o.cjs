/* Tenvoria sample skin. A skin is a Qt style sheet placed in the program folder as x/o.cjs;
   without it the windows keep their plain white design. Frames, labels, options and pages
   already take the button-face colour when a skin is present. */
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
    padding: 0 2px;
    background: #ffffff;
    selection-background-color: #3d7cc4;
}
/* Focus shows by a thicker border, not by its colour alone. */
QLineEdit:focus {
    border: 2px solid #1b4f8a;
    padding: 0 1px;
}
