-- ==========================================
-- Accounts
-- ==========================================

CREATE TABLE account (
    id INTEGER PRIMARY KEY,
    -- ======
    owner TEXT,
    -- The balance.
    -- ------------
    balance INTEGER
);

-- Section: orders

CREATE TABLE orders (id INTEGER PRIMARY KEY);

-------------------------------------------------
-- One basket for each order.
-------------------------------------------------
CREATE TABLE basket (
    id INTEGER PRIMARY KEY,
    --------------------
    order_id INTEGER REFERENCES orders,
    /* ==== */
    account_id INTEGER REFERENCES account -- ======
);

/*
 * Lines of a basket.
 *
 */
CREATE TABLE line (basket_id INTEGER REFERENCES basket);
