CREATE TABLE tenant (id int PRIMARY KEY);

CREATE TABLE project (
    tenant_id int NOT NULL,
    id int NOT NULL,
    name text,
    UNIQUE NULLS NOT DISTINCT (tenant_id, name),
    PRIMARY KEY (tenant_id, id),
    FOREIGN KEY (tenant_id) REFERENCES tenant ON DELETE CASCADE DEFERRABLE INITIALLY DEFERRED
);

CREATE TABLE task (
    tenant_id int NOT NULL,
    id int NOT NULL,
    project_id int,
    parent_id int,
    title text NOT NULL,
    PRIMARY KEY (tenant_id, id),
    -- Deleting a project keeps the task, without its project.
    CONSTRAINT task_project_fk FOREIGN KEY (tenant_id, project_id)
        REFERENCES project (tenant_id, id) MATCH SIMPLE
        ON DELETE SET NULL (project_id) ON UPDATE NO ACTION
        DEFERRABLE INITIALLY IMMEDIATE,
    CONSTRAINT task_parent_fk FOREIGN KEY (tenant_id, parent_id)
        REFERENCES task MATCH FULL ON DELETE SET DEFAULT (parent_id) NOT DEFERRABLE
);

ALTER TABLE task ALTER CONSTRAINT task_project_fk DEFERRABLE INITIALLY DEFERRED;

CREATE TABLE label (id int, name text);
-- A primary key made from an index built beforehand.
CREATE UNIQUE INDEX CONCURRENTLY label_id_idx ON label (id);
ALTER TABLE label ALTER COLUMN id SET NOT NULL;
ALTER TABLE label ADD CONSTRAINT label_pkey PRIMARY KEY USING INDEX label_id_idx;
CREATE UNIQUE INDEX label_name_idx ON label (name);
ALTER TABLE label ADD CONSTRAINT label_name_key UNIQUE USING INDEX label_name_idx;

CREATE TABLE task_label (
    tenant_id int,
    task_id int,
    label_id int REFERENCES label,
    label_name text REFERENCES label (name),
    FOREIGN KEY (tenant_id, task_id) REFERENCES task NOT VALID
);
ALTER TABLE task_label VALIDATE CONSTRAINT task_label_tenant_id_task_id_fkey;

-- A key added NOT VALID, then checked.
ALTER TABLE task_label ADD COLUMN project_id int,
    ADD CONSTRAINT task_label_project_fk FOREIGN KEY (tenant_id, project_id)
        REFERENCES project ON DELETE CASCADE NOT VALID;
ALTER TABLE task_label VALIDATE CONSTRAINT task_label_project_fk;
