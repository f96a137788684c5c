CREATE TABLE public.author (
    id integer NOT NULL
);

CREATE TABLE book (
    id integer NOT NULL,
    author integer
);

ALTER TABLE ONLY public.author
    ADD CONSTRAINT author_pkey PRIMARY KEY (id);

ALTER TABLE ONLY public.book
    ADD CONSTRAINT book_author_fkey FOREIGN KEY (author) REFERENCES public.author(id);

ALTER TABLE book ADD COLUMN editor integer;
ALTER TABLE IF EXISTS book ADD reviewer integer REFERENCES author;
ALTER TABLE book ADD FOREIGN KEY (editor) REFERENCES author (id);
ALTER TABLE IF EXISTS missing ADD COLUMN x integer;
ALTER TABLE book ALTER COLUMN id SET DEFAULT 1, ADD COLUMN pages integer;
ALTER TABLE book DROP COLUMN pages;
