#pragma once

#include "app/PageId.h"

class QWidget;

// Builds the page an id stands for, without a parent: the main window takes it over at once.
QWidget *createPage(PageId id);
