#include "core/platform/PlatformError.h"

namespace zv {

PlatformError PlatformError::InvalidCall() {
    return {5, "プロシージャの呼び出し、または引数が不正です。"};
}
PlatformError PlatformError::Overflow() {
    return {6, "オーバーフローしました。"};
}
PlatformError PlatformError::OutOfRange() {
    return {9, "インデックスが有効範囲にありません。"};
}
PlatformError PlatformError::TypeMismatch() {
    return {13, "型が一致しません。"};
}
PlatformError PlatformError::FileNotFound() {
    return {53, "ファイルが見つかりません。"};
}
PlatformError PlatformError::PermissionDenied() {
    return {70, "書き込みできません。"};
}
PlatformError PlatformError::PathAccess() {
    return {75, "パス名が無効です。"};
}
PlatformError PlatformError::InvalidUseOfNull() {
    return {94, "Null の使い方が不正です。"};
}
PlatformError PlatformError::NoCurrentRecord() {
    return {
        3021,
        "BOF と EOF のいずれかが True になっているか、または現在のレコードが削除されています。"};
}

}  // namespace zv
