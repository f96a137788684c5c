--
-- Name: plain; Type: TABLE; Schema: public; Owner: -
--

CREATE TABLE plain (id int PRIMARY KEY);

-- Users.
--
-- Name: users; Type: TABLE; Schema: public; Owner: -
--

CREATE TABLE users (
    id int PRIMARY KEY,
    --
    -- Name: not_a_note; this line is the author's
    --
    name text
);

-- =====================================================================
-- Accounts
-- =====================================================================

CREATE TABLE account (
    id int PRIMARY KEY,
    -- =========
    owner int REFERENCES users,
    -- The total.
    -- ----------
    total int
);

-- Section: orders

CREATE TABLE orders (id int PRIMARY KEY);

-- ------------------------------------------------------------
-- Orders of the shop, one per basket.
-- ------------------------------------------------------------
CREATE TABLE basket (
    id int PRIMARY KEY,
    ------------------------------
    order_id int REFERENCES orders
);

/* ================
 * Lines
 * ================ */

CREATE TABLE line (
    /* ========= */
    width int,
    /* ---------
     * The height.
     * --------- */
    height int
);
