// The commands that change cells and places of the level: put, delete,
// brightness, start, exit, music zones, music choice, sentry places, plane
// fills and clears, the outside flag. Each is one undo step; `merge` joins it
// to the previous step (the repeats of a held key).
#pragma once

#include <string>

// Every command acts on the target cell, the one the labels name: the shown
// selector only glides toward it, so a quick series of moves and edits
// builds the same level as a slow one.
void PutBlock(bool merge = false);
void DeleteCell(bool merge = false);
void BrightenCell(bool merge = false);
void DarkenCell(bool merge = false);
void PlaceStart(bool merge = false);
void PlaceExit(bool merge = false);
void PlaceMusicZone(bool merge = false);

enum class PlaneAxis { X, Y, Z };
// Every cell of the plane through the target cell across `axis` gets the
// current object (fill) or type 0 (clear); brightness is kept.
void FillPlane(PlaneAxis axis);
void ClearPlane(PlaneAxis axis);

void ToggleOutside();

// The music zone at the target cell (the last of several), or -1.
int MusicZoneAtTarget();
// The zone at the target cell takes the last music-list entry named `name`.
void ChooseMusic(const std::string& name);
// The last music-list entry named `name`, or -1.
int MusicIndexByName(const std::string& name);
// The current object becomes the last defined type named `name`.
void ChooseObject(const std::string& name);

// Sentry `index` + 1 (index counted from 0 in the list) takes the target
// cell's centre and the negated target heading; nothing for a sentry beyond
// the count.
void SetSentryPosition(int index);

// Undo and redo of the last step; false when there is none.
bool UndoEdit();
bool RedoEdit();
