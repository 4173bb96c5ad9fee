// Hand-written pieces of the field view and monster bindings: cells by
// number or point (an off-map cell gives nil), and the target record filled
// from two objects (nil for either leaves it as it was).
#pragma once

#include "game/world/ai_target.h"
#include "game/world/field_view.h"

inline FieldView::INFO* fieldViewInfo(FieldView* self, int x, int y) {
    return self->getInfo(x, y);
}
inline FieldView::INFO* fieldViewInfoAt(FieldView* self, const Point& p) {
    return self->getInfo(p.x, p.y);
}
inline bool fieldViewCheckRange(FieldView*, int x, int y) {
    return FieldView::checkRange(x, y);
}
inline bool fieldViewCheckRangeAt(FieldView*, const Point& p) {
    return FieldView::checkRange(p.x, p.y);
}
inline bool fieldViewCheckRangeX(FieldView*, int x) {
    return FieldView::checkRange(x, 0);
}
inline bool fieldViewCheckRangeY(FieldView*, int y) {
    return FieldView::checkRange(0, y);
}
inline Point aiTargetCal16Dir(AITarget*, const Point& offset) {
    return AITarget::cal16Dir(offset);
}
inline Point aiTargetCal8Dir(AITarget*, const Point& offset) {
    return AITarget::cal8Dir(offset);
}
inline void aiTargetSet(AITarget* self, ObjectBase* searcher, ObjectBase* target) {
    self->setTarget(searcher, target);
}
