// The program's own pictures: its disc icon, drawn rather than shipped.
#pragma once
#include <QtGui/QIcon>
#include <QtGui/QPixmap>

QPixmap App_Icon_Pixmap(int size);
QIcon App_Icon();
QIcon App_Icon_New();
QIcon App_Icon_Open();
