#include "base/system_error.h"

#include <QHash>

#include <cerrno>

namespace tagsmith::base {

QString systemErrorText(int code) {
    static const QHash<int, QString> texts{
        {ENOENT, QStringLiteral("文件或文件夹不存在")},
        {EACCES, QStringLiteral("没有权限")},
        {EPERM, QStringLiteral("不允许此操作")},
        {ENOSPC, QStringLiteral("磁盘空间不足")},
        {EDQUOT, QStringLiteral("超出磁盘配额")},
        {EROFS, QStringLiteral("文件系统只读")},
        {EISDIR, QStringLiteral("这是文件夹，不是文件")},
        {ENOTDIR, QStringLiteral("路径中有一项不是文件夹")},
        {EEXIST, QStringLiteral("已存在同名项")},
        {ENAMETOOLONG, QStringLiteral("文件名过长")},
        {EIO, QStringLiteral("磁盘读写错误")},
        {EMFILE, QStringLiteral("打开的文件过多")},
        {ENFILE, QStringLiteral("打开的文件过多")},
        {EBUSY, QStringLiteral("设备或资源正忙")},
        {EXDEV, QStringLiteral("不能跨磁盘移动")},
        {ENOMEM, QStringLiteral("内存不足")},
        {EFBIG, QStringLiteral("文件过大")},
    };
    return texts.value(code, QStringLiteral("系统错误 %1").arg(code));
}

} // namespace tagsmith::base
