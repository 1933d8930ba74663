"""mz6 save, as root and as a user: a link is followed and stays, a device, fifo or folder is refused with
nothing sent, a file keeps its owner, group and mode, and a link planted beside it is never written through."""
import os
import stat

from run import AS_NOBODY, ReaderTest, mz6

PROFILE = "model = krx\ninterface = touch-memory\nindication = direct\nstandby = off\ntouch-poll = on\n"
NOBODY = 65534


class Save(ReaderTest):
    def test_save_keeps_what_the_path_is(self):
        umask = os.umask(0o022)
        self.addCleanup(os.umask, umask)
        for user in ((), AS_NOBODY):
            with self.subTest(user=user[1:2]):
                self.save_as(user, uid=NOBODY if user else 0)

    def save_as(self, user, uid):
        sim = self.reader(0)
        os.chmod(sim.slave_path, 0o666)
        (folder := self.new_folder()).chmod(0o755)
        (locked := self.new_folder()).chmod(0o755)  # root's, and only root may write in it
        (folder / "conf").mkdir()
        for path, text, owner, mode in (("conf/real.profile", "model = usb\n", uid, 0o644),
                                        ("victim", "kept\n", uid, 0o644),
                                        ("theirs.profile", "model = usb\n", NOBODY - uid, 0o640)):
            (folder / path).write_text(text)
            os.chown(folder / path, owner, owner)
            os.chmod(folder / path, mode)
        for path in (folder, folder / "conf"):
            os.chown(path, uid, uid)
        (folder / "site.profile").symlink_to("conf/real.profile")
        (folder / "fresh.profile").symlink_to(folder / "conf/fresh.profile")  # leads to no file yet
        (folder / "planted.profile.mz6-new").symlink_to(folder / "victim")  # the name a fixed one would have
        os.mknod(folder / "null", 0o666 | stat.S_IFCHR, os.makedev(1, 3))
        os.mkfifo(folder / "fifo")

        def save(path):
            return mz6("save", "--port", sim.slave_path, str(path), prefix=user, cwd=folder)

        refused = [("null", 2, "null is a device, not a file: save replaces only files"), ("fifo", 2, "fifo is a fifo"),
                   ("conf", 2, "conf is a folder")]
        if user:  # root may write in any folder
            refused.append((locked / "x.profile", 1, f"cannot create a file in the folder {locked}: Permission denied"))
        for path, code, error in refused:
            run = save(folder / path)
            self.assertEqual((run.code, run.out), (code, ""))
            self.assertTrue(run.err.startswith(f"mz6: {folder}/{error}" if code == 2 else f"mz6: {error}\n"), run.err)
        self.assertTrue(stat.S_ISCHR((folder / "null").stat().st_mode))
        self.assertTrue(stat.S_ISFIFO((folder / "fifo").stat().st_mode))
        self.assertEqual(sim.received_bytes(), b"")

        for path, written in (("site.profile", "conf/real.profile"), ("fresh.profile", "conf/fresh.profile"),
                              ("planted.profile", "planted.profile")):
            run = save(folder / path)
            self.assertEqual(run.code, 0, run.err)
            self.assertEqual((folder / written).read_text(), PROFILE)
            self.assertEqual((folder / written).stat().st_uid, uid)
        self.assertEqual((os.readlink(folder / "site.profile"), (folder / "victim").read_text()),
                         ("conf/real.profile", "kept\n"))
        self.assertEqual(stat.S_IMODE((folder / "conf/fresh.profile").stat().st_mode), 0o644)
        self.assertEqual(sorted(p.name for p in folder.iterdir() if p.name.startswith(".")), [])

        # Another user's file: root keeps its owner, group and mode; a user may not give it away, and leaves it.
        run = save(folder / "theirs.profile")
        theirs = (folder / "theirs.profile").stat()
        self.assertEqual((theirs.st_uid, theirs.st_gid, stat.S_IMODE(theirs.st_mode)), (NOBODY - uid,) * 2 + (0o640,))
        self.assertEqual((folder / "theirs.profile").read_text(), "model = usb\n" if user else PROFILE)
        if user:
            self.assertEqual((run.code, run.err), (1, f"mz6: {folder}/theirs.profile: its owner and group cannot be "
                                                      "kept (Operation not permitted); the file is left as it was\n"))

        run = save("-")
        self.assertEqual((run.code, run.out, (folder / "-").exists()), (0, PROFILE, False))
