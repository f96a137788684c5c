-- The schema of a small issue tracker.
--
-- Projects hold issues; people report, discuss, label and watch them, log the
-- time they spend on them and ship the fixes in releases. Every table and column
-- below is documented by the comments written right in front of it.
PRAGMA foreign_keys = ON;

/* A piece of work that has its own issues, labels, milestones and releases.
 *
 * The ``key'' of a project -- two to six capital letters -- prefixes the
 * numbers of its issues, as in TRK-42. */
CREATE TABLE projects (
  id INTEGER PRIMARY KEY,
  -- Unique short code, such as TRK.
  key TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL,
  -- The person answerable for the project. A reference to a table that is
  -- defined further down the file: @users.id
  owner INTEGER NOT NULL REFERENCES users (id),
  /* Where the code lives, written as a URL; shown on the project page as
     [the repository](https://git.example.org/). */
  repository TEXT,
  archived BOOLEAN NOT NULL DEFAULT 0
);

-- Everybody who can sign in.
CREATE TABLE users (
  id INTEGER PRIMARY KEY,
  -- Sign-in name: lower-case letters, digits and the hyphen.
  login TEXT NOT NULL UNIQUE,
  -- The name shown next to comments, as in ``Ada Lovelace''.
  display_name TEXT NOT NULL,
  -- Where notifications go, such as ada\@example.org; never shown to others.
  email TEXT NOT NULL,
  -- The team that new issues of this user are assigned to by default.
  default_team INTEGER REFERENCES teams (id) ON DELETE SET NULL,
  created_at TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP
);

/* A group of @users who share the work on some projects; @team_members lists
   who is in it. */
CREATE TABLE teams (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE,
  -- The team that this one is part of, if any: teams nest, so this refers back
  -- to @teams.id in the same table.
  parent INTEGER REFERENCES teams (id)
);

-- Who belongs to which team, and in what role.
CREATE TABLE team_members (
  team INTEGER NOT NULL REFERENCES teams (id) ON DELETE CASCADE,
  member INTEGER NOT NULL REFERENCES users (id) ON DELETE CASCADE,
  -- One of ``lead'' or ``member''.
  role TEXT NOT NULL DEFAULT 'member' CHECK (role IN ('lead', 'member')),
  UNIQUE (team, member)
);

/* A date that a set of issues is aimed at. */
CREATE TABLE milestones (
  id INTEGER PRIMARY KEY,
  project INTEGER NOT NULL REFERENCES projects (id) ON DELETE CASCADE,
  title TEXT NOT NULL,
  /* The day the work is meant to be done by --- a plain date, with no time of
     day and no time zone. */
  "due date" DATE,
  closed BOOLEAN NOT NULL DEFAULT 0
);

/* The heart of the tracker: a bug report, a feature request or a task.

   An issue belongs to one project (@issues.project) and can be split into
   smaller issues, each of which names its parent in @issues.parent; the states
   it moves through are described in
   [the workflow guide](https://tracker.example.org/help/workflow). */
CREATE TABLE issues (
  id INTEGER PRIMARY KEY,
  project INTEGER NOT NULL REFERENCES projects (id),
  -- The number within the project, counted from 1 -- shown after the project
  -- key.
  number INTEGER NOT NULL,
  title TEXT NOT NULL,
  -- The full description, in the same markup as these comments.
  body TEXT,
  -- One of ``open'', ``in progress'', ``resolved'' or ``closed''.
  status TEXT NOT NULL DEFAULT 'open',
  -- From 1 (urgent) to 4 (some day).
  priority INTEGER NOT NULL DEFAULT 3 CHECK (priority BETWEEN 1 AND 4),
  reporter INTEGER NOT NULL REFERENCES users (id),
  -- The one person expected to act next; empty while nobody has taken it.
  assignee INTEGER REFERENCES users (id) ON DELETE SET NULL,
  milestone INTEGER REFERENCES milestones (id),
  -- The larger issue that this one is part of: a foreign key to the same table.
  parent INTEGER REFERENCES issues (id),
  opened_at TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
  closed_at TIMESTAMP,
  UNIQUE (project, number)
);

-- The issue lists are read far more often than written.
CREATE INDEX issues_by_status ON issues (project, status, priority);

-- Things that are said about an issue, oldest first.
CREATE TABLE comments (
  id INTEGER PRIMARY KEY,
  issue INTEGER NOT NULL REFERENCES issues (id) ON DELETE CASCADE,
  author INTEGER NOT NULL REFERENCES users (id),
  -- The comment that this one answers, for threaded discussions.
  reply_to INTEGER REFERENCES comments (id),
  body TEXT NOT NULL,
  written_at TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
  /* Set when the author changed the text afterwards.
   *
   * The old text is not kept. */
  edited_at TIMESTAMP
);

-- A file uploaded with a comment, such as a screenshot or a log.
CREATE TABLE attachments (
  id INTEGER PRIMARY KEY,
  comment INTEGER NOT NULL REFERENCES comments (id) ON DELETE CASCADE,
  file_name TEXT NOT NULL,
  -- The media type as sent by the browser, such as image/png.
  media_type TEXT NOT NULL,
  -- Size in bytes.
  size INTEGER NOT NULL CHECK (size >= 0),
  -- Where the bytes are kept in the file store, not a path on disk.
  storage_key TEXT NOT NULL
);

-- A word that sorts issues of a project into groups, such as ``bug''.
CREATE TABLE labels (
  id INTEGER PRIMARY KEY,
  project INTEGER NOT NULL REFERENCES projects (id) ON DELETE CASCADE,
  name TEXT NOT NULL,
  -- Six hex digits, as in d73a4a, for the label's badge.
  colour TEXT NOT NULL DEFAULT 'ededed',
  UNIQUE (project, name)
);

/* Which @labels are put on which @issues; a name with a space, so its anchor
   reads issue_labels. Both keys are declared at the end of the table. */
CREATE TABLE "issue labels" (
  issue INTEGER NOT NULL,
  label INTEGER NOT NULL,
  -- Who put the label on, and when.
  added_by INTEGER REFERENCES users (id),
  added_at TIMESTAMP NOT NULL DEFAULT CURRENT_TIMESTAMP,
  UNIQUE (issue, label),
  FOREIGN KEY (issue) REFERENCES issues (id) ON DELETE CASCADE,
  FOREIGN KEY (label) REFERENCES labels (id) ON DELETE CASCADE
) WITHOUT ROWID;

-- The people who get a message whenever an issue changes.
CREATE TABLE watchers (
  issue INTEGER NOT NULL REFERENCES issues (id) ON DELETE CASCADE,
  "user" INTEGER NOT NULL REFERENCES users (id) ON DELETE CASCADE,
  UNIQUE (issue, "user")
);

/* How two issues stand to each other: one ``blocks'', ``duplicates'' or
   ``relates to'' the other. Both ends point into @issues (see
   @issue_links.source and @issue_links.target). */
CREATE TABLE issue_links (
  id INTEGER PRIMARY KEY,
  source INTEGER NOT NULL REFERENCES issues (id) ON DELETE CASCADE,
  kind TEXT NOT NULL,
  target INTEGER NOT NULL REFERENCES issues (id) ON DELETE CASCADE
);

-- Time that somebody spent on an issue.
CREATE TABLE work_log (
  id INTEGER PRIMARY KEY,
  issue INTEGER NOT NULL REFERENCES issues (id),
  "user" INTEGER NOT NULL REFERENCES users (id),
  -- Minutes, rounded up to the next quarter hour.
  minutes INTEGER NOT NULL CHECK (minutes > 0),
  /* ``Time & effort'' as the person put it: what was done, what is left. The
     escaped \[brackets\] and \@sign here are printed as they are. */
  "time & effort" TEXT,
  logged_on DATE NOT NULL
);

-- What is open per project; the front page reads it.
CREATE VIEW open_issues AS
  SELECT p.key, i.number, i.title, i.priority
  FROM issues i JOIN projects p ON p.id = i.project
  WHERE i.status <> 'closed';

/* A version of a project that was shipped to its users.

   Each release closes one milestone (@milestones.id) of one of the @projects
   -- usually the oldest one still open. */
CREATE TABLE releases (
  id INTEGER PRIMARY KEY,
  project INTEGER NOT NULL REFERENCES projects (id),
  milestone INTEGER REFERENCES milestones (id),
  -- The version, as in 2.1.0.
  version TEXT NOT NULL,
  shipped_on DATE,
  -- What changed, and what went wrong afterwards -- kept with the release.
  "notes & errata" TEXT
);
