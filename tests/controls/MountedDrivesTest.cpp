// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/MountedDrives.h"

#include <gtest/gtest.h>

using morvelin::MountedDrives;

namespace {

const char* const laptopTable =
    "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
    "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
    "udev /dev devtmpfs rw,nosuid,relatime 0 0\n"
    "/dev/nvme0n1p2 / ext4 rw,relatime,errors=remount-ro 0 0\n"
    "tmpfs /run tmpfs rw,nosuid,nodev,noexec,relatime 0 0\n"
    "/dev/nvme0n1p1 /boot/efi vfat rw,relatime 0 0\n"
    "/dev/nvme0n1p3 /home ext4 rw,relatime 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw,nosuid,nodev,relatime 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw,nosuid,nodev,relatime 0 0\n"
    "/dev/sdb1 /media/alice/USB\\040STICK vfat rw,nosuid,nodev,relatime 0 0\n"
    "/dev/sdc1 /run/media/alice/Photos\\134Backup fuseblk rw,nosuid,nodev,relatime 0 0\n"
    "tmpfs /media/ramdisk tmpfs rw 0 0\n"
    "/dev/sdd1 /srv/data ext4 rw 0 0\n"
    "/dev/loop3 /snap/core/1 squashfs ro 0 0\n";

TEST(MountedDrives, KeepsTheFileSystemsThatHoldTheUsersFiles)
{
    const QStringList drives = MountedDrives::fromMountTable(QString::fromLatin1(laptopTable), "/home/alice");
    EXPECT_EQ(drives, (QStringList{"/", "/home", "/media/alice/USB STICK", "/run/media/alice/Photos\\Backup"}));
}

TEST(MountedDrives, RootIsKeptWhateverItIsMountedFromAndHiddenMountsAreDropped)
{
    const QString table = "overlay / overlay rw 0 0\n"
                          "/dev/sdb1 /media/cd iso9660 ro 0 0\n"
                          "tmpfs /media/cd tmpfs rw 0 0\n"
                          "/dev/sde1 /data xfs rw 0 0\n"
                          "garbage\n";
    // The home folder's own file system counts wherever it is mounted.
    EXPECT_EQ(MountedDrives::fromMountTable(table, "/data/home/bob"), (QStringList{"/", "/data"}));
    EXPECT_EQ(MountedDrives::fromMountTable(table, "/root"), QStringList{"/"});
}

TEST(MountedDrives, DriveOfAPathIsTheLongestMountPointHoldingIt)
{
    const QStringList drives{"/", "/home", "/media/usb", "/media/usb2"};
    EXPECT_EQ(MountedDrives::driveOf("/media/usb/Photos/2010", drives), "/media/usb");
    EXPECT_EQ(MountedDrives::driveOf("/media/usb2", drives), "/media/usb2");
    EXPECT_EQ(MountedDrives::driveOf("/media/usbx/a", drives), "/");
    EXPECT_EQ(MountedDrives::driveOf("/home/../media/usb/a", drives), "/media/usb");
    EXPECT_EQ(MountedDrives::driveOf("relative/path", drives), QString());
    EXPECT_EQ(MountedDrives::driveOf("/home", QStringList{"/media/usb"}), QString());
}

} // namespace
